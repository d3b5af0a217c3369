#pragma once
// One punched hole of one track, as the per-line pass found it, and the list of them.
// Positions along the roll are inches.

#include <cstdint>
#include <vector>

namespace tarvelo {

struct PunchedHole {
  bool Removed = false;      // dropped by a clean-up pass; every later stage ignores it
  int32_t Track = 0;         // 0..255
  double Length = 0;         // EndPosition - StartPosition, inches
  double MaxWidth = 0;       // widest run seen on any scan line, pixels
  double EndPosition = 0;    // inches
  double StartPosition = 0;  // inches
};

// The holes of a roll in the order the per-line pass closed them (by their ends, and in track
// order on one line). The clean-up passes mark holes Removed instead of erasing them: the
// speck count tests every hole, removed or not.
using HoleList = std::vector<PunchedHole>;

}  // namespace tarvelo
