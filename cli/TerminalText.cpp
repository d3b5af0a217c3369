#include "cli/TerminalText.h"

#include <algorithm>

#include "cli/ProgressLine.h"

namespace tarvelo::cli {

namespace {

// The bytes of the longest start of `text` that fits `columns`.
size_t FittingBytes(std::string_view text, int columns) {
  size_t bytes = 0;
  int used = 0;
  while (bytes < text.size()) {
    const auto lead = static_cast<unsigned char>(text[bytes]);
    const int width = lead < 0x80 ? 1 : 2;
    if (used + width > columns) break;
    used += width;
    bytes += std::min(CharacterBytes(lead), text.size() - bytes);
  }
  return bytes;
}

// `text` broken at blanks: the first line at most `first` columns, the others `rest`.
std::vector<std::string> Wrap(std::string_view text, int first, int rest) {
  std::vector<std::string> lines;
  std::string line;
  const auto width = [&] { return std::max(lines.empty() ? first : rest, 1); };
  const auto finish = [&] {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    line.clear();
  };
  size_t at = 0;
  while (at < text.size()) {
    const size_t blank = text.find(' ', at);
    std::string_view word = text.substr(at, blank == std::string_view::npos ? std::string_view::npos : blank - at);
    at = blank == std::string_view::npos ? text.size() : blank + 1;
    if (word.empty()) {
      // Runs of blanks inside a line are kept while they fit.
      if (!line.empty() && TextColumns(line) < width()) line += ' ';
      continue;
    }
    const std::string joined = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (TextColumns(joined) <= width()) {
      line = joined;
      continue;
    }
    if (!line.empty()) finish();
    while (TextColumns(word) > width()) {
      const size_t bytes = std::max<size_t>(FittingBytes(word, width()), 1);
      line = std::string(word.substr(0, bytes));
      finish();
      word.remove_prefix(bytes);
    }
    line = std::string(word);
  }
  if (!line.empty() || lines.empty()) finish();
  return lines;
}

}  // namespace

std::vector<std::string> WrapToColumns(std::string_view text, int columns) { return Wrap(text, columns, columns); }

std::string WrapLines(std::string_view text, int columns, int indent) {
  if (columns <= 0) return std::string(text);
  indent = std::clamp(indent, 0, columns / 2);
  std::string wrapped;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const bool ended = end != std::string_view::npos;
    if (!ended) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (TextColumns(line) <= columns) {
      wrapped.append(line);
    } else {
      const std::vector<std::string> pieces = Wrap(line, columns, columns - indent);
      for (size_t i = 0; i < pieces.size(); ++i)
        wrapped += (i == 0 ? "" : "\n" + std::string(static_cast<size_t>(indent), ' ')) + pieces[i];
    }
    if (ended) wrapped += '\n';
    start = end + 1;
  }
  return wrapped;
}

std::string ShortenInMiddle(std::string_view text, int columns) {
  if (TextColumns(text) <= columns) return std::string(text);
  if (columns <= 3) return FitToColumns(text, std::max(columns, 0));
  const int room = columns - 3;
  const int tail_columns = room - room / 3;
  // The end: drop characters from the front until it fits its share.
  size_t tail_start = 0;
  while (tail_start < text.size() && TextColumns(text.substr(tail_start)) > tail_columns)
    tail_start += CharacterBytes(static_cast<unsigned char>(text[tail_start]));
  const std::string_view tail = text.substr(tail_start);
  const std::string head = FitToColumns(text.substr(0, tail_start), room - TextColumns(tail));
  return head + "..." + std::string(tail);
}

}  // namespace tarvelo::cli
