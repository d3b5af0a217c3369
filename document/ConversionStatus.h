#pragma once
// How a conversion ended, decided once by the document for every front end: the command
// line's statuses and exit code, the desktop, the reports all read this value, never the
// messages' text.

#include <array>
#include <vector>

#include "support/Result.h"

namespace tarvelo {

struct OutputFileRecord;

enum class ConversionStatus {
  kConverted,              // the outputs were written and nothing doubtful was met
  kConvertedWithWarnings,  // written, but a warning says the result may be doubtful
  kFailed,                 // the file could not be read, an error was reported or an output not written
  kStopped,                // the user stopped the run before its outputs were written
};

// "converted", "converted with warnings", "failed", "stopped".
const char* ConversionStatusName(ConversionStatus status);

// The status of a run: `ended` is how the opening and the run ended (kCancelled: stopped),
// `message_counts` the messages of the run by kind (index: MessageKind), `outputs` the
// outputs it attempted. Any error fails the file: an error message means that a file, a
// setting or an output could not be used.
ConversionStatus DecideConversionStatus(const Result& ended, const std::array<int, 3>& message_counts,
                                        const std::vector<OutputFileRecord>& outputs);

}  // namespace tarvelo
