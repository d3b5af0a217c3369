#include "cli/BatchSummary.h"

#include <csignal>

#include <algorithm>
#include <cstdio>

#include "cli/ProgressLine.h"
#include "cli/TerminalText.h"

namespace tarvelo::cli {

void BatchSummary::Add(const FileOutcome& outcome) {
  ++counts_[static_cast<size_t>(outcome.Status)];
  if (outcome.Status != FileStatus::kConverted) rows_.push_back(Row{outcome.Input, outcome.Status, outcome.Deciding});
}

int BatchSummary::Files() const {
  int files = 0;
  for (const int count : counts_) files += count;
  return files;
}

std::string SignalName(int signal_number) {
  if (signal_number == SIGINT) return "SIGINT";
  if (signal_number == SIGTERM) return "SIGTERM";
  return "signal " + std::to_string(signal_number);
}

namespace {

std::string PadTo(const std::string& text, int columns) {
  const int used = TextColumns(text);
  return used >= columns ? text : text + std::string(static_cast<size_t>(columns - used), ' ');
}

}  // namespace

std::string BatchSummary::Text(const std::string& outputs_place, double seconds, int stop_signal, int never_started,
                               int columns) const {
  std::string text;
  if (!rows_.empty()) {
    constexpr int kLongestFileColumn = 60;
    constexpr int kLongestMessage = 100;
    int file_columns = 4;
    for (const Row& row : rows_) file_columns = std::max(file_columns, TextColumns(row.File));
    file_columns = std::min(file_columns, kLongestFileColumn);
    const int status_columns = TextColumns(FileStatusName(FileStatus::kConvertedWithWarnings));
    std::vector<std::string> table;
    bool fits = true;
    for (const Row& row : rows_) {
      std::string message = FitToColumns(row.Message, kLongestMessage);
      if (message.size() < row.Message.size()) message += "...";
      table.push_back(PadTo(row.File, file_columns) + "  " + PadTo(FileStatusName(row.Status), status_columns) + "  " +
                      message);
      fits = fits && TextColumns(table.back()) <= columns;
    }
    if (columns <= 0 || fits) {
      text += PadTo("file", file_columns) + "  " + PadTo("status", status_columns) + "  message\n";
      for (const std::string& line : table) text += line + "\n";
    } else {
      // Too wide for the terminal: each file on a line of its own with its status, its whole
      // message wrapped below it.
      constexpr int kIndent = 4;
      for (const Row& row : rows_) {
        const std::string status = FileStatusName(row.Status);
        const std::string file = ShortenInMiddle(row.File, columns - 2 - TextColumns(status));
        text += file + "  " + status + "\n";
        if (row.Message.empty()) continue;
        for (const std::string& line : WrapToColumns(row.Message, columns - kIndent))
          text += std::string(kIndent, ' ') + line + "\n";
      }
    }
  }
  std::string stopped;
  if (stop_signal != 0) {
    stopped = "Stopped by " + SignalName(stop_signal) + ": " + std::to_string(never_started) +
              (never_started == 1 ? " file was" : " files were") + " not started";
    if (Count(FileStatus::kStopped) > 0)
      stopped += ", " + std::to_string(Count(FileStatus::kStopped)) + " stopped while being converted";
    stopped += "; every output listed as written is complete.";
  }
  const int files = Files();
  std::string counts = std::to_string(files) + (files == 1 ? " file: " : " files: ") +
                       std::to_string(Count(FileStatus::kConverted)) + " converted, " +
                       std::to_string(Count(FileStatus::kConvertedWithWarnings)) + " converted with warnings, " +
                       std::to_string(Count(FileStatus::kFailed)) + " failed";
  if (Count(FileStatus::kSkipped) > 0) counts += ", " + std::to_string(Count(FileStatus::kSkipped)) + " skipped";
  char time[32];
  std::snprintf(time, sizeof time, "%.1f s", seconds);
  counts += "; outputs " + outputs_place + "; " + (seconds < 60 ? std::string(time) : FormatDuration(seconds));
  for (const std::string* line : {&stopped, &counts}) {
    if (line->empty()) continue;
    if (columns <= 0) {
      text += *line + "\n";
      continue;
    }
    for (const std::string& piece : WrapToColumns(*line, columns)) text += piece + "\n";
  }
  return text;
}

}  // namespace tarvelo::cli
