#include "geometry/TwinArrayMerge.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "settings/TwinArraySettings.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

// The colour changes of one array's half as a sorted list of pixel columns. The half's
// colour is 1 at its first column `first` and flips at every transition; it differs between
// column p-1 and p exactly when an odd number of transitions lie at p. Only transitions in
// (low, last] belong to the half; those at or before `first` flip the starting colour.
// Pixels after the last transition keep the colour in force there, so a half whose
// transitions stop short of its end is filled with the colour of the run that continues
// past it. Returns the colour at `first`.
int CollectChanges(std::span<const int32_t> transitions, int64_t low, int32_t first, int32_t last,
                   std::vector<int32_t>& changes) {
  changes.clear();
  int colour = 1;
  int32_t previous = INT32_MIN;
  bool sorted = true;
  for (const int32_t t : transitions) {
    if (t <= low || t > last) continue;
    if (t < previous) sorted = false;
    previous = t;
    changes.push_back(t);
  }
  // Lines from a file are always in increasing order; anything else is put in order first
  // (the colour at a pixel depends only on how many transitions lie at or before it).
  if (!sorted) std::sort(changes.begin(), changes.end());
  size_t kept = 0;
  for (const int32_t t : changes) {
    if (t <= first) {
      colour ^= 1;
    } else if (kept > 0 && changes[kept - 1] == t) {
      --kept;  // two transitions at one column cancel
    } else {
      changes[kept++] = t;
    }
  }
  changes.resize(kept);
  return colour;
}

// Number of changes at or before `pixel`.
size_t ChangesUpTo(const std::vector<int32_t>& changes, int64_t pixel) {
  return static_cast<size_t>(std::upper_bound(changes.begin(), changes.end(), pixel,
                                              [](int64_t value, int32_t change) { return value < change; }) -
                             changes.begin());
}

// Writes the merged line's transitions piece by piece: each piece is a stretch of merged
// pixels copied from one half, forward from the first or reversed from the second.
class MergedLineWriter {
 public:
  MergedLineWriter(const TwinArrayLayout& layout, int first_colour, const std::vector<int32_t>& first_changes,
                   const std::vector<int32_t>& second_changes, std::vector<int32_t>& out)
      : layout_(layout), first_colour_(first_colour), first_(first_changes), second_(second_changes), out_(out) {}

  // Merged pixels k0..k1 are first-half pixels k0..k1.
  void FromFirst(int32_t k0, int32_t k1) {
    const size_t begin = ChangesUpTo(first_, k0);
    const size_t end = ChangesUpTo(first_, k1);
    Start(k0, first_colour_ ^ static_cast<int>(begin & 1));
    for (size_t c = begin; c < end; ++c) out_.push_back(first_[c]);
    colour_ = first_colour_ ^ static_cast<int>(end & 1);
  }

  // Merged pixels k0..k1 are second-half pixels H+M-k0 down to H+M-k1 (M the merged width).
  void FromSecondReversed(int32_t k0, int32_t k1) {
    const int64_t base = static_cast<int64_t>(layout_.Half) + layout_.MergedWidth;
    const int64_t s0 = base - k0;  // highest second-half pixel of the piece
    const int64_t s1 = base - k1;  // lowest
    const size_t high = ChangesUpTo(second_, s0);
    const size_t low = ChangesUpTo(second_, s1);
    Start(k0, 1 ^ static_cast<int>(high & 1));
    // A change at second-half pixel s (colour differs between s-1 and s) lies between merged
    // pixels base-s and base-s+1.
    for (size_t c = high; c > low; --c) out_.push_back(static_cast<int32_t>(base + 1 - second_[c - 1]));
    colour_ = 1 ^ static_cast<int>(low & 1);
  }

 private:
  void Start(int32_t k0, int colour) {
    if (k0 > 0 && colour != colour_) out_.push_back(k0);
  }

  const TwinArrayLayout& layout_;
  int first_colour_;
  const std::vector<int32_t>& first_;
  const std::vector<int32_t>& second_;
  std::vector<int32_t>& out_;
  int colour_ = 1;
};

bool PositionsAscend(const CScanLineArray& lines) {
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

void MergeTwinArrayLine(const TwinArrayLayout& layout, std::span<const int32_t> first,
                        std::span<const int32_t> second, TwinArrayScratch& scratch, std::vector<int32_t>& out) {
  const int32_t h = layout.Half;
  const int32_t m = layout.MergedWidth;
  const int32_t x = layout.Crossover;
  if (m < 0) return;
  const int first_colour = CollectChanges(first, INT64_MIN, 0, h, scratch.first_changes);
  // The second half starts at column H with colour 1 whatever came before it.
  CollectChanges(second, h, h, layout.Width, scratch.second_changes);
  MergedLineWriter writer(layout, first_colour, scratch.first_changes, scratch.second_changes, out);

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
}

std::vector<int32_t> FindPartnerLines(const CScanLineArray& lines, double separation) {
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

void MergeTwinArrays(CCisScanData& data, UiServices& ui) {
  const CTwinArraySettings& settings = ui.Settings().twin_array;
  if (settings.DisableTwinArrayProcessing) return;

  int32_t separation = data.ArraySeparation;
  int32_t overlap = data.ChangeoverPixel;
  if (settings.OverrideCISvalues) {
    overlap = TruncToInt32(ui.GetTwinArrayOverlap() * ui.GetScannerDpi());
    separation = TruncToInt32(ui.GetTwinArrayVertOffset() * 1000);
  }
  const TwinArrayLayout layout = MakeTwinArrayLayout(data.ScanWidth, overlap, separation);
  data.CrossoverPixel = layout.Crossover;

  const CScanLineArray& lines = data.Lines;
  const int n = lines.Size();
  const std::vector<int32_t> partner = FindPartnerLines(lines, layout.Separation);

  CScanLineArray merged;
  merged.Reserve(static_cast<size_t>(n), lines.TotalTransitions());
  TwinArrayScratch scratch;
  std::vector<int32_t> line;
  const int step = n / 50;
  int threshold = 0;
  int percent = 0;
  for (int i = 0; i < n; ++i) {
    if (i > threshold) {
      threshold += 2 * step;
      percent += 4;
      ui.SetStatusText("Merging Twin CIS Data Parts = " + std::to_string(i));
      ui.SetProgress(kProgressTwinArray, percent);
    }
    line.clear();
    MergeTwinArrayLine(layout, lines.Transitions(i), lines.Transitions(partner[static_cast<size_t>(i)]), scratch,
                       line);
    merged.AppendLine(line, lines.LineWord(i));
  }
  if (data.Lines.HasGeometry()) merged.MutableGeometry() = data.Lines.MutableGeometry();
  data.Lines = std::move(merged);
  data.ScanWidth = layout.MergedWidth;
}

void ReverseScanLines(CCisScanData& data) {
  const int64_t width = data.ScanWidth;
  const bool sixteen_bit = width >= 0 && width <= 65535;
  for (int i = 0; i < data.Lines.Size(); ++i) {
    const std::span<int32_t> t = data.Lines.MutableTransitions(i);
    std::reverse(t.begin(), t.end());
    for (int32_t& value : t) {
      const int64_t mirrored = width - value;
      value = sixteen_bit ? static_cast<int32_t>(static_cast<uint16_t>(mirrored)) : static_cast<int32_t>(mirrored);
    }
  }
  data.ImageMirrored = true;
}

}  // namespace tarvelo
