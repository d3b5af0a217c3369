#pragma once
// How each roll system uses its tracks, tested against a roll's measured track usage: which
// tracks carry holes through the roll, which stay empty, which hold only the rewind chain at
// the roll's end, which are chain-punched (held levels), which are narrower than a note hole
// (half-hole accents), which pairs are punched together (accents in two halves, crescendos
// duplicated on both sides), which take turns (a lock and its cancel), and which carry far
// more or far fewer holes than a note track. Roll types of the library are matched to a
// profile by name: 88-note, 65-note, Ampico A and B, Duo-Art, Welte Licensee, T-98 and T-100,
// Recordo, Artecho and the Aeolian 176-note organ.
//
// Track numbers are those of the shipped roll types: tracker-bar positions for the 9-holes-
// per-inch family (A0 = 21 ... C8 = 108), hole numbers for 65-note, T-100 and the organ.

#include <string_view>

#include "align/TrackUsage.h"

namespace tarvelo {

// How well a roll's track usage agrees with the profile of roll type `name`: 0 (every test
// contradicts it) .. 1 (every test agrees). `known` is set false, and 0.5 returned, for a name
// without a profile; tests that cannot judge (a track off the image, a pair of empty tracks)
// are left out.
double ControlMatch(std::string_view name, const TrackUsage& usage, bool& known);

}  // namespace tarvelo
