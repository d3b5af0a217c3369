#pragma once
// Putting measured holes in order across the roll: by centre, holes of equal centre in the
// order they were given (as a stable sort leaves them). Sorts a compact key per hole by its
// bytes rather than the holes themselves by comparisons: a roll has them by the ten thousand.

#include <vector>

#include "align/ScanMeasurement.h"

namespace tarvelo {

// Orders `holes` by Center; equal centres keep their order.
void SortByCenter(std::vector<MeasuredHole>& holes);

}  // namespace tarvelo
