#pragma once
// One file of a batch: what every file shares (read only while the batch runs; each thread
// takes its own copy) and the conversion of one file with its own document and reporter.

#include <string>

#include "cis/RollInfo.h"
#include "cli/BatchInputs.h"
#include "cli/FileOutcome.h"
#include "cli/FileReporter.h"
#include "cli/OutputFolders.h"
#include "document/AlignmentOptions.h"
#include "rolltypes/RollTypeDefinition.h"
#include "settings/RunSettings.h"

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

// Converts `input` as `job` says. Never throws for a bad file: every problem is a message of
// the outcome. An input with a Problem fails with it; a stop signal gives "stopped".
FileOutcome ConvertBatchFile(const BatchInput& input, const BatchJob& job);

}  // namespace tarvelo::cli
