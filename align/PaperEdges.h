#pragma once
// Finding the paper's edges on every scan line and how the paper wanders sideways along the
// roll. Beyond each edge the sensor sees no paper, which reads as hole colour on nearly every
// line (a strip of paper colour at the sensor's ends may lie beyond that); the edge is where
// that always-open zone ends. On each line the edge is the hole/paper transition nearest to
// the zone's end; medians over every half inch of roll give the paper's sideways position,
// undisturbed by ragged margins.

#include <cstdint>
#include <vector>

#include "align/AlignmentInput.h"
#include "align/ScanMeasurement.h"

namespace tarvelo {

struct PaperEdgeTrace {
  PaperEdges Edges;
  double WanderSpan = 0;            // pixels
  std::vector<float> Wander;        // per line: the paper's sideways shift from its median place, pixels
  std::vector<int32_t> LowerBound;  // per line: holes start after this pixel (the edge, or the image's start)
  std::vector<int32_t> UpperBound;  // per line: holes end before this pixel
};

// Lines without a Lines pointer, or an empty image span, give no edges and no wander.
PaperEdgeTrace TracePaperEdges(const ScanForAlignment& scan);

}  // namespace tarvelo
