#include "geometry/TwinArrayMerge.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "services/LineProgress.h"
#include "settings/TwinArraySettings.h"
#include "support/SafeTruncate.h"
#include "support/SortedSearch.h"

namespace tarvelo {

namespace {

// Writes one merged line's transitions at `out`, piece by piece in increasing merged pixel
// order, and returns the end of what it wrote; `out` must have room for every transition of
// both lines and three more. Each piece is a stretch of merged pixels copied from one half:
// forward from the first, or reversed from the second. A half's colour at a pixel is 1
// flipped once per transition at or before it (the second half counting only its own, above
// H), so a half whose runs stop short of its end keeps the colour of the run that continues
// past it. The transitions of each line are read once, the first half's from the front and
// the second half's from the back. All state lives in locals so that it stays in registers.
class LineMerger {
 public:
  LineMerger(const TwinArrayLayout& layout, std::span<const int32_t> first, std::span<const int32_t> second,
             int32_t* out)
      : first_(first.data()),
        first_end_(first.data() + first.size()),
        second_low_(second.data() + CountUpTo(second, layout.Half)),
        second_next_(second.data() + second.size()),
        line_start_(out),
        out_(out),
        base_(static_cast<int64_t>(layout.Half) + layout.MergedWidth) {}

  // Merged pixels k0..k1 are first-half pixels k0..k1.
  void FromFirst(int32_t k0, int32_t k1) {
    while (first_next_ != first_end_ && *first_next_ <= k0) ++first_next_;
    Start(k0, 1 ^ static_cast<int>((first_next_ - first_) & 1));
    while (first_next_ != first_end_ && *first_next_ <= k1) Change(*first_next_++);
    colour_ = 1 ^ static_cast<int>((first_next_ - first_) & 1);
  }

  // Merged pixels k0..k1 are second-half pixels H+M-k0 down to H+M-k1 (M the merged width).
  // A change at second-half pixel s lies between merged pixels H+M-s and H+M-s+1.
  void FromSecondReversed(int32_t k0, int32_t k1) {
    const int64_t s0 = base_ - k0;
    const int64_t s1 = base_ - k1;
    while (second_next_ != second_low_ && second_next_[-1] > s0) --second_next_;
    Start(k0, 1 ^ static_cast<int>((second_next_ - second_low_) & 1));
    while (second_next_ != second_low_ && second_next_[-1] > s1) Change(base_ + 1 - *--second_next_);
    colour_ = 1 ^ static_cast<int>((second_next_ - second_low_) & 1);
  }

  int32_t* End() const { return out_; }

 private:
  void Start(int32_t k0, int colour) {
    if (k0 > 0 && colour != colour_) *out_++ = k0;
  }
  // Two transitions at one pixel cancel (a zero-length run).
  void Change(int64_t pixel) {
    if (out_ != line_start_ && out_[-1] == pixel)
      --out_;
    else
      *out_++ = static_cast<int32_t>(pixel);
  }

  const int32_t* first_;
  const int32_t* first_end_;
  const int32_t* first_next_ = first_;  // first of the first half's transitions not yet passed
  const int32_t* second_low_;           // first of the second line's transitions above H
  const int32_t* second_next_;          // one past the last second-half transition not yet passed
  int32_t* const line_start_;
  int32_t* out_;
  int64_t base_;
  int colour_ = 1;  // colour of the last merged pixel written
};

bool PositionsAscend(const ScanLineArray& lines) {
  const int n = lines.Size();
  double previous = -INFINITY;
  for (int i = 0; i < n; ++i) {
    const double p = lines.Position(i);
    if (!(p >= previous)) return false;  // also false for NaN
    previous = p;
  }
  return true;
}

}  // namespace

TwinArrayLayout MakeTwinArrayLayout(int32_t width, int32_t overlap, int32_t separation_thousandths) {
  TwinArrayLayout layout;
  layout.Width = width;
  layout.Half = width / 2;
  layout.Overlap = std::max(0, std::min(overlap, width));
  layout.MergedWidth = width - layout.Overlap;
  layout.Crossover = layout.Half - layout.Overlap / 2;
  layout.Separation = separation_thousandths * 0.001;
  return layout;
}

namespace {

inline int32_t* MergeLine(const TwinArrayLayout& layout, std::span<const int32_t> first,
                          std::span<const int32_t> second, int32_t* out) {
  const int32_t m = layout.MergedWidth;
  const int32_t x = layout.Crossover;
  if (m < 0) return out;
  LineMerger writer(layout, first, second, out);

  // Merged pixel p comes from the first half for p = 0..X and from the second half, reversed,
  // for p = M-X..M; where both reach a pixel the one written later wins (the second half's
  // write at step p follows the first half's, and the step for pixel p is p for the first
  // half and M-p for the second). By the parities of W and the overlap, M-X is X+1, X or X-1.
  const int32_t second_start = m - x;
  if (second_start == x + 1) {
    writer.FromFirst(0, x);
    writer.FromSecondReversed(x + 1, m);
  } else if (second_start == x) {
    if (x >= 1) writer.FromFirst(0, x - 1);
    writer.FromSecondReversed(x, m);
  } else {
    // Odd overlap, even width: pixel X-1 holds the second half's pixel H+X, pixel X keeps
    // the first half's pixel X.
    if (x >= 2) writer.FromFirst(0, x - 2);
    writer.FromSecondReversed(x - 1, x - 1);
    writer.FromFirst(x, x);
    if (x + 1 <= m) writer.FromSecondReversed(x + 1, m);
  }
  return writer.End();
}

// Room a merged line may need: every transition of both lines, and three pieces' junctions.
size_t MergedRoom(std::span<const int32_t> first, std::span<const int32_t> second) {
  return first.size() + second.size() + 3;
}

}  // namespace

void MergeTwinArrayLine(const TwinArrayLayout& layout, std::span<const int32_t> first, std::span<const int32_t> second,
                        std::vector<int32_t>& out) {
  const size_t used = out.size();
  out.resize(used + MergedRoom(first, second));
  int32_t* const end = MergeLine(layout, first, second, out.data() + used);
  out.resize(static_cast<size_t>(end - out.data()));
}

std::vector<int32_t> FindPartnerLines(const ScanLineArray& lines, double separation) {
  const int n = lines.Size();
  std::vector<int32_t> partner(static_cast<size_t>(n));
  const double first_best = std::fabs(separation + 1.0);
  if (!PositionsAscend(lines)) {
    // The plain forward walk. A distance that is not a number ends it.
    for (int i = 0; i < n; ++i) {
      const double target = lines.Position(i) + separation;
      double best = first_best;
      int q = i;
      for (int j = i; j < n; ++j) {
        const double d = std::fabs(lines.Position(j) - target);
        if (!(d <= best)) break;
        best = d;
        q = j;
      }
      partner[static_cast<size_t>(i)] = q;
    }
    return partner;
  }
  // With ascending positions the distance cannot grow while the lines lie at or before the
  // target, so the walk passes all of them: it is resumed at the last such line, found with
  // a pointer that only moves forward because the targets ascend too.
  int crossing = 0;  // first line after i beyond the target
  for (int i = 0; i < n; ++i) {
    const double target = lines.Position(i) + separation;
    if (!(std::fabs(lines.Position(i) - target) <= first_best)) {
      partner[static_cast<size_t>(i)] = i;
      continue;
    }
    crossing = std::max(crossing, i + 1);
    while (crossing < n && lines.Position(crossing) <= target) ++crossing;
    int q = crossing - 1;
    double best = std::fabs(lines.Position(q) - target);
    for (int j = q + 1; j < n; ++j) {
      const double d = std::fabs(lines.Position(j) - target);
      if (!(d <= best)) break;
      best = d;
      q = j;
    }
    partner[static_cast<size_t>(i)] = q;
  }
  return partner;
}

void MergeTwinArrays(CisScanData& data, const TwinArraySettings& settings, const ScannerSettings& scanner,
                     Reporter& reporter) {
  if (settings.DisableTwinArrayProcessing) return;

  int32_t separation = data.Header.ArraySeparation;
  int32_t overlap = data.Header.ChangeoverPixel;
  if (settings.OverrideCISvalues) {
    overlap = TruncToInt32(scanner.TwinArrayOverlap * scanner.ScannerDPI);
    separation = TruncToInt32(scanner.TwinArrayVertOffset * 1000);
  }
  const TwinArrayLayout layout = MakeTwinArrayLayout(data.Run.ScanWidth, overlap, separation);
  data.Run.CrossoverPixel = layout.Crossover;

  const ScanLineArray& lines = data.Lines;
  const int n = lines.Size();
  const std::vector<int32_t> partner = FindPartnerLines(lines, layout.Separation);

  // The merged lines are written straight into one flat array, grown in large steps.
  std::vector<int32_t> merged(lines.TotalTransitions() + 2 * static_cast<size_t>(n));
  size_t used = 0;
  std::vector<uint32_t> offsets;
  offsets.reserve(static_cast<size_t>(n) + 1);
  offsets.push_back(0);
  LineProgress progress(reporter, n, kProgressTwinArray, "Merging Twin CIS Data Parts = ");
  for (int i = 0; i < n; ++i) {
    progress.At(i);  // merging is quick: a stop request is honoured after it
    const std::span<const int32_t> first = lines.Transitions(i);
    const std::span<const int32_t> second = lines.Transitions(partner[static_cast<size_t>(i)]);
    const size_t room = MergedRoom(first, second);
    if (merged.size() - used < room) merged.resize(std::max(2 * merged.size(), used + room));
    used = static_cast<size_t>(MergeLine(layout, first, second, merged.data() + used) - merged.data());
    offsets.push_back(static_cast<uint32_t>(used));
  }
  merged.resize(used);
  data.Lines.ReplaceAllTransitions(std::move(merged), std::move(offsets));
  data.Run.ScanWidth = layout.MergedWidth;
}

void ReverseScanLines(CisScanData& data) {
  const int64_t width = data.Run.ScanWidth;
  const bool sixteen_bit = width >= 0 && width <= 65535;
  for (int i = 0; i < data.Lines.Size(); ++i) {
    const std::span<int32_t> t = data.Lines.MutableTransitions(i);
    std::reverse(t.begin(), t.end());
    for (int32_t& value : t) {
      const int64_t mirrored = width - value;
      value = sixteen_bit ? static_cast<int32_t>(static_cast<uint16_t>(mirrored)) : static_cast<int32_t>(mirrored);
    }
  }
  data.Run.ImageMirrored = true;
}

}  // namespace tarvelo
