#pragma once
// 88-note rolls with accent holes (Themodist): the roll records no dynamics, so every note
// plays the plain velocity and a note whose onset falls in an accent hole's window of its half
// the accent velocity. The window runs from the snakebite lead before the hole to its
// (extended) end.

#include "expression/ControlHoles.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

LevelsByHalf ThemodistLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model);

}  // namespace tarvelo
