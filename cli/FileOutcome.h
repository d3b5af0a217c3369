#pragma once
// What became of one input file of a batch: its status, the messages it gave with their
// kinds, the outputs attempted and what the reports show of its conversion.
//
// Status from the messages' kinds: "converted" (no warning or error), "converted with
// warnings" (a warning: damaged lines, a safe value used in place of a bad setting),
// "failed" (an error message, a refused or unreadable file, an output not written);
// "skipped" (--no-clobber found an output already there) and "stopped" (a stop signal came
// while the file was converted; nothing was written for it).

#include <cstdint>
#include <string>
#include <vector>

#include "cli/RollFacts.h"
#include "document/ConversionSummary.h"
#include "services/Reporter.h"
#include "support/Result.h"

namespace tarvelo::cli {

// A message as the command line keeps it for its reports.
struct ReportedMessage {
  MessageKind Kind;
  std::string Text;
};

enum class FileStatus { kConverted, kConvertedWithWarnings, kFailed, kSkipped, kStopped };

// "converted", "converted with warnings", "failed", "skipped", "stopped".
const char* FileStatusName(FileStatus status);

// The status of a file the conversion went through: `loaded` is what the document's Load
// returned, `messages` everything reported for the file, `outputs` the outputs attempted.
FileStatus StatusOfConversion(const Result& loaded, const std::vector<ReportedMessage>& messages,
                              const std::vector<OutputFileRecord>& outputs);

// The first line with text of the message that decided the status (the first error of a
// failed file, the first warning of one converted with warnings), "" when there is none.
std::string DecidingMessage(FileStatus status, const std::vector<ReportedMessage>& messages);

// An output as the reports show it; Notes and Minutes are filled for --verbose only.
struct OutputReport {
  OutputFileRecord Record;
  int Notes = -1;       // note-on events in the written file
  double Minutes = -1;  // its playing time
};

struct FileOutcome {
  std::string Input;    // the path as named or found
  uintmax_t Bytes = 0;  // its size, as the batch found it
  FileStatus Status = FileStatus::kFailed;
  std::string LoadError;  // why the file could not be opened or converted ("" when it was)
  std::vector<ReportedMessage> Messages;
  std::vector<OutputReport> Outputs;
  std::vector<std::string> Keywords;  // the keyword item texts of the run
  ConversionSummary Counts;           // the run's counts (its spacing histogram left empty)
  RollFacts Facts;                    // what the catalogue records of the scan
  double Seconds = 0;
};

}  // namespace tarvelo::cli
