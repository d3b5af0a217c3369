#pragma once
// The Ampico expression models, millisecond by millisecond.
//
// Both: each millisecond a side's cancel hole, while open, clears the side's latched
// intensities, then every open intensity hole latches (an intensity punched over a cancel
// wins). The half's vacuum follows with the model's lag (a paper length) and gives the
// velocity on the common curve.
//
// Ampico A: the amplifier a (0..1, one for both halves) moves at its rate towards its target:
// the first amplifier target with 4 and 6 latched on one side, else the second with 2 and 6,
// else the third with 6 alone, else 0, and at least (the louder half's vacuum - 15) / 15. The
// intensity vacuum is low + a (high - low) of the latched set. Each half's crescendo vacuum c
// (within the crescendo range) rises while its slow crescendo hole is open and falls while it
// is closed, at the latched set's rate, or at the fast rate while the fast crescendo hole is
// open. The half's vacuum: min(range top, c + intensity vacuum - range bottom).
//
// Ampico B: one crescendo position a (0..1) for both halves rises while the slow crescendo
// slot is open and falls while it is closed, over the slow travel time, or the fast one while
// the fast crescendo slot or the amplifier hole is open. The amplifier hole closing with a
// between the two amplifier bounds holds a between them (first amplifier), above the upper
// one holds it above that (second); below the lower one, or the hole opening again, frees it.
// The sub-intensity hole latches for both halves (a side's cancel clears its own). The half's
// vacuum: low + a (high - low) of its latched set, from the sub-intensity table when latched.

#include "expression/ControlHoles.h"
#include "midi/RollTiming.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

// Velocities of every onset (whole numbers; no bass offset).
LevelsByHalf AmpicoALevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                           const RollTiming& timing);
LevelsByHalf AmpicoBLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                           const RollTiming& timing);

}  // namespace tarvelo
