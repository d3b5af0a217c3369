#pragma once
// Joining the two sensor arrays of a twin-array ("Dual") scan into single lines, and the
// left-right mirroring of every line.
//
// A twin-array line holds the first array's pixels 0..H-1 (H = W/2) followed by the second
// array's, which reads the roll in the opposite direction from a position a little further
// along the roll. The merge takes line i's first half and the second half of the line that
// lies the array separation further on, lays the second half reversed after the first, and
// drops the overlap between them.

#include <cstdint>
#include <span>
#include <vector>

#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "settings/ScannerPresets.h"
#include "settings/TwinArraySettings.h"

namespace tarvelo {

// The numbers a merge works with, from the scan width, the overlap in pixels and the
// separation in thousandths of an inch. The overlap is held to 0..W.
struct TwinArrayLayout {
  int32_t Width = 0;        // W, both arrays together
  int32_t Half = 0;         // H = W / 2
  int32_t Overlap = 0;      // pixels dropped where the arrays meet
  int32_t MergedWidth = 0;  // W - overlap
  int32_t Crossover = 0;    // X = H - overlap / 2: merged pixel where the image changes array
  double Separation = 0;    // inches between the arrays along the roll
};
TwinArrayLayout MakeTwinArrayLayout(int32_t width, int32_t overlap, int32_t separation_thousandths);

// Merges every line of data.Lines (unless settings.DisableTwinArrayProcessing): the overlap
// and separation come from the header (ChangeoverPixel, ArraySeparation) or, with
// settings.OverrideCISvalues, from the scanner preset. Sets ScanWidth to the merged width and
// CrossoverPixel. Line words and computed values of every line are kept. Reports progress
// (colour type 3). Reports nothing else; a merge once started runs to its end.
void MergeTwinArrays(CisScanData& data, const TwinArraySettings& settings, const ScannerSettings& scanner,
                     Reporter& reporter);

// Merges one line: the first half from `first`, the second half from `second` (the partner
// line), appending the merged line's transitions (pixels 1..MergedWidth where the colour
// changes) to `out`. The transitions of both lines must be in increasing order, as lines
// read from a file are (lines in any other order give some transitions, never a fault).
void MergeTwinArrayLine(const TwinArrayLayout& layout, std::span<const int32_t> first, std::span<const int32_t> second,
                        std::vector<int32_t>& out);

// For each line i, the index of its partner line: the line nearest to Position(i) + separation
// found by walking forward from i while the distance does not grow (ties take the later line);
// line i itself when no line lies nearer than |separation + 1|.
std::vector<int32_t> FindPartnerLines(const ScanLineArray& lines, double separation);

// Mirrors every line left to right: transitions t0..tn-1 become W-tn-1 .. W-t0 (W the current
// ScanWidth), taken modulo 65536 as 16-bit pixel columns when W fits 16 bits. Sets ImageMirrored.
void ReverseScanLines(CisScanData& data);

}  // namespace tarvelo
