#pragma once
// The Recordo expression model: four level ports (p, mf, f, ff) for both halves and a hammer
// rail hole per half. B rules: the highest open port sets the vacuum (RecordoLevels: none, p,
// mf, f, ff); A rules: the open ports add up to a level 8 ff + 4 f + 2 mf + p, at most 10
// (RecordoBinaryLevels). An open hammer rail drops its half halfway to the next lower level,
// to the hammer rail floor at the lowest. The vacuum follows with the model's lag (a paper
// length) and gives the velocity on the common curve.

#include "expression/ControlHoles.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

LevelsByHalf RecordoLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model);

}  // namespace tarvelo
