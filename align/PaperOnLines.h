#pragma once
// Where the paper lies on every scan line, from a measurement of the scan: inside the paper's
// measured edges, moved with the paper's sideways wander along the roll, and clear of the
// ragged margin next to each edge. A conversion with the measured values takes no run of hole
// colour outside it for a hole (the scanner's background beyond an edge, the edge itself).

#include <vector>

#include "align/ScanMeasurement.h"
#include "cis/PaperSpan.h"
#include "cis/ScanLineArray.h"

namespace tarvelo {

// One span per line of `lines`, the lines `measurement` was made of. An edge that did not show
// bounds nothing on its side; without either edge every span is the default one.
std::vector<PaperSpan> PaperOnLines(const ScanMeasurement& measurement, const ScanLineArray& lines);

}  // namespace tarvelo
