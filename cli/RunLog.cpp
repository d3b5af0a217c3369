#include "cli/RunLog.h"

#include <cstdio>
#include <string_view>

#include "support/CalendarTime.h"
#include "support/ProgramVersion.h"

namespace tarvelo::cli {

namespace {

bool NeedsQuotes(const std::string& word) {
  if (word.empty()) return true;
  for (const char c : word) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string_view("-_./:=,+@%").find(c) != std::string_view::npos ||
                       static_cast<unsigned char>(c) >= 0x80;
    if (!plain) return true;
  }
  return false;
}

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string ShellCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    if (!NeedsQuotes(word)) {
      line += word;
      continue;
    }
    line += '\'';
    for (const char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
    line += '\'';
  }
  return line;
}

std::string LogHeaderText(const LogHeader& header) {
  std::tm date{};
  char when[64] = "unknown";
  if (LocalTime(header.Started, date)) std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S %z", &date);
  return std::string("date:            ") + when + "\n" + "command:         " + ShellCommandLine(header.CommandLine) +
         "\n" + "version:         " + ProgramVersionLine() + "\n" + "profile:         " + header.Profile + "\n" +
         "settings digest: " + header.SettingsDigest + "\n\n";
}

std::string LogFileLine(const FileOutcome& outcome) {
  int warnings = 0, errors = 0, written = 0;
  for (const ReportedMessage& message : outcome.Messages) {
    if (message.Kind == MessageKind::kWarning) ++warnings;
    if (message.Kind == MessageKind::kError) ++errors;
  }
  for (const OutputReport& output : outcome.Outputs)
    if (output.Record.Outcome.ok()) ++written;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f s", outcome.Seconds);
  return outcome.Input + ": " + FileStatusName(outcome.Status) + "; " + Plural(warnings, "warning", "warnings") + ", " +
         Plural(errors, "error", "errors") + "; " + Plural(written, "output", "outputs") + " written; " + seconds +
         "\n";
}

}  // namespace tarvelo::cli
