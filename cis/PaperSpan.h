#pragma once
// Where the paper lies across a scan line. Beyond the paper's edges the sensor sees the
// scanner's background, which reads as hole colour on nearly every line, broken into runs by
// noise; the edge itself ends in such a run. Neither is a hole: a hole run lies wholly inside
// the paper, clear of its edges.

#include <cstdint>
#include <limits>

namespace tarvelo {

struct PaperSpan {
  // A hole run begins after First and ends (its first pixel after it) before Last. The default
  // span takes in every run.
  int32_t First = std::numeric_limits<int32_t>::min();
  int32_t Last = std::numeric_limits<int32_t>::max();
};

// Whether the hole-colour run from pixel `begin` up to `end` lies on the paper.
constexpr bool IsOnPaper(const PaperSpan& paper, int64_t begin, int64_t end) {
  return begin > paper.First && end < paper.Last;
}

}  // namespace tarvelo
