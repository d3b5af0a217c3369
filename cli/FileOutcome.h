#pragma once
// What became of one input file of a batch: its status, the messages it gave with their
// kinds, the outputs attempted and what the reports show of its conversion.
//
// A file the batch converted takes the status its conversion concluded (ConversionStatus:
// "converted", "converted with warnings", "failed", "stopped"); a file the batch refused
// before converting it is "failed" (a bad name, an output folder or lock not to be had),
// "skipped" (--no-clobber found an output already there) or "stopped" (a stop signal came
// first).

#include <cstdint>
#include <string>
#include <vector>

#include "cli/RollFacts.h"
#include "document/ConversionStatus.h"
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

// The file status of a conversion that ended with `status`.
FileStatus FileStatusOf(ConversionStatus status);

// The headline of the message that decided `status` among `messages` (the first error of a
// failed file, the first warning of one converted with warnings, else the first message),
// "" when there is none.
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
  std::string Deciding;  // the headline of the message that decided Status (see DecidingMessage)
  std::vector<OutputReport> Outputs;
  std::vector<std::string> Keywords;  // the keyword item texts of the run
  ConversionSummary Counts;           // the run's counts (its spacing histogram left empty)
  RollFacts Facts;                    // what the catalogue records of the scan
  double Seconds = 0;
};

}  // namespace tarvelo::cli
