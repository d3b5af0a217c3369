#pragma once
// Measuring a scan: the paper edges and wander (align/PaperEdges.h), then every distinct
// punched hole. A hole shows as a run of hole colour on each of many consecutive scan lines;
// runs that overlap from one line to the next belong to the same hole, so a long held note
// counts once, as does a hole seen on a single line. Runs at or beyond the paper's edges
// (the margins, ragged or not) are left out.

#include "align/AlignmentInput.h"
#include "align/ScanMeasurement.h"

namespace tarvelo {

// Deterministic; linear in the number of transitions. A scan without lines (or without a
// Lines pointer) gives an empty measurement.
ScanMeasurement MeasureScan(const ScanForAlignment& scan);

}  // namespace tarvelo
