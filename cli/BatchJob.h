#pragma once
// One file of a batch: what every file shares (read only while the batch runs; each thread
// takes its own copy) and the conversion of one file with its own document and reporter.

#include <functional>
#include <string>

#include "cis/RollInfo.h"
#include "cli/BatchInputs.h"
#include "cli/FileOutcome.h"
#include "cli/FileReporter.h"
#include "cli/OutputFolders.h"
#include "document/AlignmentOptions.h"
#include "rolltypes/RollTypeDefinition.h"
#include "settings/RunSettings.h"

namespace tarvelo {
class TarveloDoc;
}

namespace tarvelo::cli {

struct BatchJob {
  RunSettings Settings;
  RollTypeDefinition RollType;       // applied once from the library
  std::string RollTypeError;         // not empty: the roll type was not found; every file fails with it
  RollInfo RollInfoTemplate;         // the profile's template entries
  RollInfoEntries Entries;           // --info
  bool SkipScanImage = false;        // --no-scan-midi
  bool SkipERoll = false;            // --no-eroll-midi
  bool NoClobber = false;            // --no-clobber: a file with an output already there is skipped
  bool MeasureOutputs = false;       // --verbose: notes and minutes of every output written
  AlignmentOptions Alignment;        // --align, --roll-type auto
  OutputFolders* Folders = nullptr;  // makes (and remembers) the output folders; shared by every thread
};

// The roll type options of a command that converts (--roll-types, --roll-type, --align).
struct RollTypeChoice {
  std::string library;    // --roll-types FILE
  std::string roll_type;  // --roll-type NAME or "auto"; empty: the profile's
  bool align = false;     // --align
  bool no_align = false;  // --no-align: the preset's DPI, offset and stretch (no Auto-Tweak)
};

// Applies the roll type of this run to job.RollType, and prepares the alignment: "auto"
// aligns each file and takes the roll type it recognises (while the holes do not decide, the
// profile's stays); --align converts each file with its own measured settings. An unknown
// --roll-type or a library named with --roll-types that cannot be used is a usage error
// (false, the reason printed); an unknown roll type from the profile fails every file
// (job.RollTypeError).
bool PrepareRollType(const RollTypeChoice& options, BatchJob& job);

// Converts `input` as `job` says. Never throws for a bad file: every problem is a message of
// the outcome. An input with a Problem fails with it; a stop signal gives "stopped".
// `inspect`, when given, sees the document once its conversion has run (a command that uses
// more of the conversion than its outcome).
FileOutcome ConvertBatchFile(const BatchInput& input, const BatchJob& job,
                             const std::function<void(const TarveloDoc&)>& inspect = nullptr);

}  // namespace tarvelo::cli
