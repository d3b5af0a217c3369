#pragma once
// Which runs of a scan line are holes. The runs of a line alternate between paper and hole
// colour; a scanner that lights the roll from the front sees the holes dark and the paper
// light, one that shines through it sees them the other way round, and the file does not
// say which. Run k of a line lies between transition k-1 (pixel 0 for k = 0) and transition k.

#include <cstdint>

namespace tarvelo {

enum class HolePolarity : uint8_t {
  kEvenRuns,  // runs 0, 2, 4, ... are holes
  kOddRuns,   // runs 1, 3, 5, ... are holes
};

// Whether run 0 of a line, the one starting at pixel 0, is a hole.
constexpr bool FirstRunIsHole(HolePolarity polarity) { return polarity == HolePolarity::kEvenRuns; }

// Whether run `run` of a line is a hole.
constexpr bool IsHoleRun(HolePolarity polarity, int run) { return (run % 2 == 0) == FirstRunIsHole(polarity); }

}  // namespace tarvelo
