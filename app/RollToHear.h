#pragma once
// What Play hears of the open roll: the MIDI file its last conversion wrote, read back as a
// player reads it and timed by that file's clock. By default a roll whose roll type has an
// expression system is heard through its expression file (its dynamics and pedals), any other
// through its eRoll file; a conversion that wrote the eRoll file but not the expression file
// (its check box off) has the expression file made for listening in a folder of its own, which
// is removed afterwards, so listening leaves no file beside the roll.

#include <string>

#include "document/TarveloDoc.h"
#include "midi/PlaybackSchedule.h"
#include "midi/RollTiming.h"
#include "settings/RunSettings.h"
#include "support/Result.h"

namespace tarvelo::app {

struct RollToHear {
  std::string Source;  // "expression MIDI" or "eRoll MIDI"
  RollTiming Timing{100};
  PlaybackSchedule Schedule;
};

// `settings` are those the document's last run was handed, `tempo` the roll tempo and
// `roll_type` the roll type it ran with (the document's may have been changed since). kNotFound (its message says how
// to mend it) when that run wrote no file to hear; the failure of reading the file back otherwise.
Result ChooseRollToHear(const TarveloDoc& doc, const RunSettings& settings, int tempo,
                        const RollTypeDefinition& roll_type, RollToHear& heard);

// The second at which the file heard plays the roll's inch `inches` (0 for inches before its
// first event).
double SecondsAtRollInch(const RollTiming& timing, double inches);

}  // namespace tarvelo::app
