#pragma once
// Finding the paper's edges on the scan lines a measurement looks at and how the paper wanders
// sideways along the roll. Beyond each edge the sensor sees no paper, which reads as hole colour on nearly every
// line (a strip of paper colour at the sensor's ends may lie beyond that); the edge is where
// that always-open zone ends. On each line the edge is the hole/paper transition nearest to
// the zone's end; medians over every half inch of roll give the paper's sideways position,
// undisturbed by ragged margins.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "align/AlignmentInput.h"
#include "align/ScanMeasurement.h"

namespace tarvelo {

struct PaperEdgeTrace {
  PaperEdges Edges;
  double WanderSpan = 0;  // pixels
  // The paper's sideways shift from its median place along the roll (empty when no edge shows).
  std::vector<WanderPoint> WanderPath;
  // Per line looked at (in the order of `lines`):
  std::vector<double> Positions;    // along the roll, inches (also when no edge shows)
  std::vector<float> Wander;        // the paper's sideways shift from its median place, pixels
  std::vector<int32_t> LowerBound;  // holes start after this pixel (the edge, or the image's start)
  std::vector<int32_t> UpperBound;  // holes end before this pixel
};

// The paper's width across, pixels: between its edges, or where one of them does not show,
// most of the image's width (`image_first` .. `image_last`).
double PaperWidth(const PaperEdges& edges, int32_t image_first, int32_t image_last);

// How far in from the paper's edge a ragged margin's flecks and torn fibres reach, pixels: a
// four-hundredth of the paper's width, 2 at least. Real holes keep a tenth of an inch and more
// of paper from the edge.
int32_t MarginGap(double paper_width);

// Traces the edges on `lines` (line numbers, rising; the profile of the always-open zones is
// taken from every other one of them). Lines without a Lines pointer, or an empty image span,
// give no edges and no wander.
PaperEdgeTrace TracePaperEdges(const ScanForAlignment& scan, std::span<const int> lines);

// The paper's sideways shift at `position` inches along the roll on `path` (0 on an empty path).
// `next` (start with 0) keeps the place on the path between calls, so that rising positions
// cost one step each.
float WanderAt(const std::vector<WanderPoint>& path, double position, size_t& next);

}  // namespace tarvelo
