#pragma once
// What render-audio and play share: one roll converted as convert would convert it, without
// leaving MIDI files behind, and the schedule of the MIDI output that is heard.

#include <string>

#include "cli/Commands.h"
#include "midi/PlaybackSchedule.h"
#include "midi/RollTiming.h"

namespace tarvelo::cli {

// The roll as it is heard.
struct HeardRoll {
  std::string Source;  // the output heard: "expression MIDI", "eRoll MIDI", "ScanImage MIDI"
  RollTiming Timing{100};
  PlaybackSchedule Schedule;
  int ConversionStatus = kExitOk;  // kExitWarnings when the conversion gave warnings
};

// Converts options.file with `profile` (its messages printed on standard error as convert
// prints them) and reads back the output options.source names. Returns kExitOk with `heard`
// filled, or the exit status after the reason was printed.
int ConvertForListening(const ListenOptions& options, RunProfile& profile, HeardRoll& heard);

}  // namespace tarvelo::cli
