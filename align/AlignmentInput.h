#pragma once
// What the alignment measurement reads: scan lines as the per-line pass sees them (after the
// twin array merge and the mirroring, with their positions along the roll), where the hole
// image lies in them, which runs are holes, and the DPI the file's header states; and the
// scanner values (DPI, offset, stretch) that place pixels across the roll.

#include <cstdint>

#include "cis/HolePolarity.h"
#include "cis/ScanLineArray.h"

namespace tarvelo {

// Pixel p of a line lies at p * Stretch / Dpi + Offset inches across the roll.
struct ScannerSetting {
  int Dpi = 300;
  double Offset = 1.0;  // inches of roll at pixel 0
  double Stretch = 1.0;
};

struct ScanForAlignment {
  const ScanLineArray* Lines = nullptr;  // transitions and Position of every line
  int32_t ImageFirst = 0;                // pixels ImageFirst .. ImageLast-1 show the roll's holes
  int32_t ImageLast = 0;
  HolePolarity Polarity = HolePolarity::kOddRuns;  // which runs are holes
  int HeaderDpi = 0;                               // as the file states it; 0 or absurd values occur
  int32_t CrossoverPixel = -1;                     // a twin array scan: where the second array's pixels begin
};

}  // namespace tarvelo
