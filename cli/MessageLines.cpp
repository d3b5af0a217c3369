#include "cli/MessageLines.h"

#include "cli/VisibleText.h"

namespace tarvelo::cli {

std::string PrefixedLines(std::string_view file, std::string_view text) {
  std::string lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (line.find_first_not_of(' ') != std::string_view::npos) {
      lines.append(VisibleText(file)).append(": ").append(VisibleText(line)).append("\n");
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace tarvelo::cli
