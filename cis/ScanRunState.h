#pragma once
// What one run works out about a scan beside its lines: the header's flags and width as the
// run changes them (a twin-array join narrows the width, a reversal mirrors the lines), the
// join's crossover, the lines' average LPI, which runs are holes and where the paper lies.
// Each run starts it afresh from the header (CisScanData::StartRun).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cis/HolePolarity.h"
#include "cis/PaperSpan.h"

namespace tarvelo {

struct ScanRunState {
  bool TwinArray = false;                           // the lines are still a twin-array scanner's two halves
  bool ReverseImage = false;                        // a bi-colour scan
  bool MirrorImage = false;                         // the scan was made with treble and bass reversed
  bool ImageMirrored = false;                       // the lines have been mirrored left to right
  int32_t ScanWidth = 3000;                         // pixels per line now (after a twin-array join, the joined width)
  int32_t CrossoverPixel = 0;                       // where a twin-array join passed from one half to the other
  double InterpretedAverageLpi = 100.0;             // written by ComputeScanLinePositions
  HolePolarity Polarity = HolePolarity::kEvenRuns;  // which runs are holes (found by the per-line pass)
  // Where the paper lies on each line, when the run converts with the values its measurement
  // of the scan found (Auto-Tweak, alignment); empty otherwise, and then every run of hole
  // colour may be a hole.
  std::vector<PaperSpan> PaperOnLines;
  PaperSpan PaperOn(int line) const {
    return line >= 0 && static_cast<size_t>(line) < PaperOnLines.size() ? PaperOnLines[static_cast<size_t>(line)]
                                                                        : PaperSpan{};
  }
};

}  // namespace tarvelo
