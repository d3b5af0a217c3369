#pragma once
// The --json report of a convert run: one JSON document on standard output with, per input
// file, its status, the outputs written, every keyword item, every message with its kind, the
// counts and the time.

#include <string>
#include <vector>

#include "cli/TerminalReporter.h"
#include "document/TarveloDoc.h"

namespace tarvelo::cli {

class JsonReport {
 public:
  // Records one file after its conversion: `loaded` is what the document's Load returned.
  void AddFile(const std::string& path, const Result& loaded, const TarveloDoc& doc,
               const std::vector<ReportedMessage>& messages, double seconds);
  // Prints the document; `success` is true when every file was converted and written.
  void Print(bool success, double seconds) const;

 private:
  std::vector<std::string> files_;  // each a serialised JSON object
};

}  // namespace tarvelo::cli
