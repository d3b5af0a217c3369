#pragma once
// The Duo-Art expression model. The four power holes at the bass edge set the accompaniment
// regulator (steps A = 1, 2, 4, 8 added), the four at the treble edge the theme regulator
// (Θ = 8, 4, 2, 1); both halves play at the accompaniment's vacuum unless the half's snakebite is
// open at the note's onset, when that half takes the theme's. Vacuum: accompaniment
// low + (high - low) * A / 15, theme low + (high - low) * Θ / 15, or the crash valve's vacuum at
// Θ = 15; each regulator follows with the model's delay and lag (paper lengths); a theme below
// the accompaniment plays the theme floor above it (the theme valves stay shut). A snakebite's
// window runs from the snakebite lead before its hole to the hole's (extended) end. The vacuum
// then gives the velocity on the common curve.

#include "expression/ControlHoles.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

LevelsByHalf DuoArtLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model);

// The stretches of `stretches` begun `lead` inches earlier (and joined where they then meet):
// the window of an accent hole.
std::vector<Interval> AccentWindows(const std::vector<Interval>& stretches, double lead);

}  // namespace tarvelo
