#include "cli/ProgressLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cli/TerminalText.h"
#include "cli/VisibleText.h"
#include "support/Console.h"
#include "support/ProcessEnvironment.h"

namespace tarvelo::cli {

int StandardErrorColumns() {
  if (!IsTerminal(stderr)) return 0;
  if (const int columns = TerminalColumns(stderr); columns > 0) return columns;
  if (const std::optional<std::string> columns = EnvironmentValue("COLUMNS")) {
    const int value = std::atoi(columns->c_str());
    if (value > 0) return value;
  }
  return 80;
}

size_t CharacterBytes(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

int TextColumns(std::string_view text) {
  int columns = 0;
  for (size_t i = 0; i < text.size(); i += CharacterBytes(static_cast<unsigned char>(text[i])))
    columns += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : 2;
  return columns;
}

std::string FitToColumns(std::string_view text, int columns) {
  std::string fitted;
  int used = 0;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t bytes = std::min(CharacterBytes(lead), text.size() - i);
    const int width = lead < 0x80 ? 1 : 2;
    if (used + width > columns) break;
    if (lead < 0x20 || lead == 0x7F)
      fitted += '?';
    else
      fitted.append(text.substr(i, bytes));
    used += width;
    i += bytes;
  }
  return fitted;
}

std::string FormatDuration(double seconds) {
  long long total = seconds > 0 ? static_cast<long long>(seconds + 0.5) : 0;
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
  }
  return text;
}

std::string BatchProgressText(int done, int total, std::string_view current, double elapsed, double remaining,
                              int columns) {
  const std::string count = std::to_string(done) + "/" + std::to_string(total);
  const std::string times = FormatDuration(elapsed) + " elapsed, " +
                            (remaining < 0 ? std::string("--:--") : FormatDuration(remaining)) + " left";
  // "count  file  times", the file taking what is left; a name that does not fit loses its
  // middle, so that its start (the folder) and its end (what tells files apart) stay. On a
  // terminal too narrow for the times beside a shortened name, the name goes without them.
  constexpr int kShortestName = 12;
  const int fixed = TextColumns(count) + 2 + 2 + TextColumns(times);
  if (columns - fixed >= kShortestName || columns - fixed >= TextColumns(current))
    return FitToColumns(count + "  " + ShortenInMiddle(current, columns - fixed) + "  " + times, columns);
  const int room = columns - TextColumns(count) - 2;
  return FitToColumns(count + "  " + ShortenInMiddle(current, std::max(room, 0)), columns);
}

ProgressLine::ProgressLine(bool enabled) : enabled_(enabled && IsTerminal(stderr)) {}

int ProgressLine::Columns() const {
  if (!enabled_) return 0;
  return std::max(StandardErrorColumns() - 1, 1);
}

void ProgressLine::Show(const std::string& shown) {
  if (!enabled_) return;
  const std::string text = VisibleText(shown);
  const int columns = TextColumns(text);
  // Overwrite the old line; blanks cover what a longer old line left.
  // (never beyond the terminal's present width, which may have shrunk).
  std::string line = "\r" + text;
  const int cover = std::min(shown_columns_, Columns());
  if (cover > columns) line.append(static_cast<size_t>(cover - columns), ' ');
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  shown_columns_ = std::max(columns, 1);
}

void ProgressLine::Clear() {
  if (!enabled_ || shown_columns_ == 0) return;
  const int cover = std::min(shown_columns_, Columns());
  std::fputs(("\r" + std::string(static_cast<size_t>(cover), ' ') + "\r").c_str(), stderr);
  std::fflush(stderr);
  shown_columns_ = 0;
}

}  // namespace tarvelo::cli
