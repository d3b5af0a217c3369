#pragma once
// Holes of synthetic rolls of the common reproducing systems and of plain 88-note rolls: notes
// on the system's note tracks and the control holes the system punches, each in its own way
// (held or short, paired on both sides, at the roll's end only, half holes off the track
// centre), so that tests can check that a roll's system is recognised from its holes.
// Track numbers are the tracker-bar positions of the common 9-holes-per-inch layout.

#include <cstdint>
#include <vector>

#include "SyntheticRoll.h"

namespace tarvelo::synth {

enum class RollSystem {
  kPlain88,        // notes 21-108, sustain 18, soft 113
  kAmpicoA,        // notes 23-105, expression 16-22 and 107-113, rewind 106
  kAmpicoB,        // as Ampico A with the amplifier (15) and sub-intensity (114) tracks
  kDuoArt,         // notes 25-104, dynamics 21-24 and 105-108, half-hole accents, rewind slot 16/17
  kWelteLicensee,  // notes 24-103, lock-and-cancel pairs 16-23 and 106-113, rewind 104
  kWelteT98,       // notes 24-103, held expression holes 16-20 and 109-113, rewind a long punch in 16
  kRecordo,        // notes 21-108, sustain 18, levels 109-112 (f and p the most), hammer rails 16 and 113
  kArtecho,        // notes 23-105, intensities, cancels and crescendos 15-22 and 106-114
};

// The holes of `length_inch` inches of roll (the rewind holes in its last inches), from `seed`.
std::vector<SyntheticHole> SystemRollHoles(RollSystem system, double length_inch, uint32_t seed);

}  // namespace tarvelo::synth
