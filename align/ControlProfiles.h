#pragma once
// How each reproducing system uses the control tracks of the common 9-holes-per-inch roll
// (88-note, Ampico A and B, Duo-Art, Welte Licensee, Welte T-98, Recordo, Artecho): which
// tracks carry holes through the roll, which stay empty, which hold only the rewind holes at
// the roll's end, which pairs of tracks are punched equally often, and which tracks carry far
// more holes than any note would. Roll types of the library are matched to a profile by name.
//
// Track numbers are the tracker-bar positions of those roll types (A0 = 21 ... C8 = 108).

#include <string_view>

#include "align/TrackUsage.h"

namespace tarvelo {

// How well a roll's track usage agrees with the profile of roll type `name`: 0 (every test
// contradicts it) .. 1 (every test agrees). `known` is set false, and 0.5 returned, for a name
// without a profile; tests that cannot judge (a pair of empty tracks) are left out.
double ControlMatch(std::string_view name, const TrackUsage& usage, bool& known);

}  // namespace tarvelo
