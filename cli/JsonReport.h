#pragma once
// The --json report of a convert run: one JSON document on standard output with, per input
// file in input order, its status, the outputs attempted, every keyword item, every message
// with its kind, the counts and the time; then the batch's counts, its exit status and time.

#include <string>
#include <vector>

#include "cli/BatchSummary.h"
#include "cli/FileOutcome.h"

namespace tarvelo::cli {

class JsonReport {
 public:
  void AddFile(const FileOutcome& outcome);
  // Prints the document. "success" is true when no file failed and the run was not stopped.
  void Print(const BatchSummary& summary, int exit_status, int stop_signal, double seconds) const;

 private:
  std::vector<std::string> files_;  // each a serialised JSON object
};

}  // namespace tarvelo::cli
