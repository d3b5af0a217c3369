#pragma once
// The Welte-Mignon expression model (red T-100, green T-98 and Licensee rolls), in velocity
// units, millisecond by millisecond for each half of the stack.
//
// Flags per half: M, the mezzoforte hook, and S, the slow crescendo (lock-and-cancel pairs on
// red and Licensee rolls: set from the onset of an "on" hole to the onset of the next "off",
// an "on" while set changing nothing, one never cancelled lasting to the end; held while the
// hole is open on green rolls); C, the forzando forte, and D, the forzando piano (held while
// open on all three). The level starts at piano with every flag clear, and for each
// millisecond k = 1, 2, ...:
//   1. step = -s when S, C and D are all clear, else s*S + c*C - d*D, with s = (mf - p) / slow,
//      c = (mf - p) / fast crescendo, d = span / fast decrescendo (per millisecond);
//   2. u = v[k-1] + step;
//   3. with M: from above mf a fall stops at mf + 0.0001 and a rise at forte, from below mf a
//      rise stops at mf - 0.0001 and a fall at piano, exactly at mf nothing changes;
//      without M, S alone (no C) from below loud stops at loud - 0.0001;
//   4. v[k] = u held within piano..forte.
// A note starting at t seconds takes v[round(1000 t)]; a later change does not alter it.

#include "expression/ControlHoles.h"
#include "midi/RollTiming.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

// The level (velocity units, not rounded, without the bass offset) of every onset.
LevelsByHalf WelteLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                         const RollTiming& timing);

}  // namespace tarvelo
