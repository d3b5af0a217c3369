#pragma once
// The summary printed after a batch: a table of the files that were not simply converted
// (file, status, the message that decided the status) and a line with the counts, where the
// outputs went and the time the batch took.

#include <array>
#include <string>
#include <vector>

#include "cli/FileOutcome.h"

namespace tarvelo::cli {

class BatchSummary {
 public:
  // Counts `outcome` and keeps its table row when it was not simply converted.
  void Add(const FileOutcome& outcome);
  int Count(FileStatus status) const { return counts_[static_cast<size_t>(status)]; }
  int Files() const;

  // The table (when it has rows) and the counts line. `outputs_place` says where the
  // outputs went; `stop_signal` (0: none) and `never_started` tell of a batch that was stopped.
  // For a terminal `columns` wide no line is wider: a table too wide becomes a line per file
  // with its status and its message wrapped below it; `columns` 0 (a file, a pipe) gives the
  // table with messages cut at 100 characters.
  std::string Text(const std::string& outputs_place, double seconds, int stop_signal, int never_started,
                   int columns = 0) const;

 private:
  struct Row {
    std::string File;
    FileStatus Status;
    std::string Message;
  };
  std::array<int, 5> counts_{};
  std::vector<Row> rows_;
};

// "SIGINT", "SIGTERM", or "signal N".
std::string SignalName(int signal_number);

}  // namespace tarvelo::cli
