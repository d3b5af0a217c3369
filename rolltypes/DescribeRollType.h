#pragma once
// A readable account of a roll type record, for the command line's "roll-types NAME".

#include <string>

#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo {

// The record's roll-wide settings, one "Field: value" line each (the expression system and
// the figures of its model among them), then a table of the tracks
// of the hole range (LowestTrackHoleNumber..HighestTrackHoleNumber, clipped to the slots) with
// lower boundary, centre, upper boundary, channel, pitch and velocity. Reals are written with
// 8 significant digits in the program's usual form; lines end with a line feed.
std::string DescribeRollType(const RollTypeDefinition& record);

}  // namespace tarvelo
