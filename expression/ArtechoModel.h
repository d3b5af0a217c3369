#pragma once
// The Artecho expression model (the least documented of the systems; its figures are a
// player's guess), millisecond by millisecond. Intensities 1, 2, 3 latch per side until the
// side's cancel; each half's crescendo position (0..1) rises while its crescendo hole is open
// and falls while its decrescendo hole is open, over the crescendo time; the vacuum is
// low + position (high - low) of the latched set, less the pianissimo drop while the
// pianissimo is latched. It follows with the model's lag (a paper length) and gives the
// velocity on the common curve, times the hammer rail factor (truncated) while the half's
// hammer rail is latched. The general cancel clears the rails and the pianissimo.

#include "expression/ControlHoles.h"
#include "midi/RollTiming.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

LevelsByHalf ArtechoLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                           const RollTiming& timing);

}  // namespace tarvelo
