#include "services/MessageHeadline.h"

namespace tarvelo {

std::string MessageHeadline(std::string_view text) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const size_t first = text.find_first_not_of(' ', start);
    if (first != std::string_view::npos && first < end && text.compare(first, 10, "*** File :") != 0) {
      size_t last = end;
      while (last > first && text[last - 1] == ' ') --last;
      return std::string(text.substr(first, last - first));
    }
    start = end + 1;
  }
  return "";
}

}  // namespace tarvelo
