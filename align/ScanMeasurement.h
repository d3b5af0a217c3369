#pragma once
// What measuring a scan finds, before any roll type is considered: every distinct hole (one
// record per punched hole, however many scan lines it spans), the hole columns they form,
// the paper edges and how far the paper wanders sideways along the roll. Pixel values are
// sensor pixels of the prepared lines; lengths along the roll are inches.

#include <cstdint>
#include <vector>

namespace tarvelo {

struct MeasuredHole {
  double Center = 0;     // mean centre of its runs with the paper's sideways wander taken out, pixels
  double RawCenter = 0;  // mean centre of its runs as scanned, pixels
  double Width = 0;      // mean run width, pixels
  double Start = 0;      // position of its first line along the roll, inches
  double End = 0;        // position of the first line after it, inches
  int32_t Lines = 0;     // scan lines it spans

  double Length() const { return End - Start; }
};

// Holes whose centres lie close together: one column of the roll.
struct HoleColumn {
  double Center = 0;  // mean centre of its holes, pixels
  int32_t Holes = 0;
};

struct PaperEdges {
  bool LowerFound = false;  // the bass-side (low pixel) edge showed on the scan
  bool UpperFound = false;
  double Lower = 0;  // median edge, pixels (without wander)
  double Upper = 0;
  double LowerLineShare = 0;  // share of lines on which the edge was seen
  double UpperLineShare = 0;
};

// The paper's sideways shift from its median place at a place along the roll: the shift changes
// linearly between such points and stays as it is beyond the first and the last.
struct WanderPoint {
  double Position = 0;  // inches
  float Shift = 0;      // pixels
};

struct ScanMeasurement {
  std::vector<MeasuredHole> Holes;  // ordered by Center
  std::vector<HoleColumn> Columns;  // ordered by Center
  PaperEdges Edges;
  double WanderSpan = 0;                // largest minus smallest sideways position of the paper, pixels
  std::vector<WanderPoint> WanderPath;  // the paper's sideways shift along the roll (rising positions)
  // The paper's sideways shift at the roll's start from its median place, pixels: a conversion
  // that tracks the paper starts from there.
  double StartWander = 0;
  double RollLength = 0;  // position of the last line, inches
  int32_t LineCount = 0;
  int32_t CrossoverPixel = -1;  // a twin array scan: where the second array's pixels begin
  int32_t ImageFirst = 0;       // the hole image's pixel span, as measured
  int32_t ImageLast = 0;
};

}  // namespace tarvelo
