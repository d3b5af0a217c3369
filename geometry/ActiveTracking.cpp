#include "geometry/ActiveTracking.h"

#include <algorithm>
#include <span>
#include <string>

#include "services/LineProgress.h"
#include "support/SafeTruncate.h"
#include "support/SortedSearch.h"

namespace tarvelo {

namespace {

// What the samples of one line add up to: the running sums of its hole error (offsets from
// the track centres times weight and factor, and the weights) and one bit per track hit.
// Held in locals, not in the open-hole state, so that successive samples do not wait on
// each other's stores.
struct LineSums {
  double sum = 0;
  double total = 0;
  uint64_t hits0 = 0, hits1 = 0, hits2 = 0, hits3 = 0;
};

// Turns the hole runs of lines into hole samples: the map's entries and the run width limits
// of one pass, held locally.
class HoleSampler {
 public:
  HoleSampler(const TrackLookupMap& map, OpenHoles& open, HoleList& holes)
      : open_(open),
        holes_(holes),
        // The tracked span, within the map's entries (it always is after a build).
        limits_{map.SampleEntries(),
                map.TrackWeights(),
                std::max<int64_t>(map.FirstPixel, 0),
                std::min<int64_t>(map.LastPixel, map.EntryCount() - 1),
                1.3 * map.TrackSpacingPixels,
                2.3 * map.TrackSpacingPixels,
                3.3 * map.TrackSpacingPixels,
                4.3 * map.TrackSpacingPixels} {}

  // Samples the hole runs of one line that lie on `paper` (pixels as scanned), its transitions
  // shifted by `shift` pixels, and ends the line. Returns the line's hole error in inches.
  // `ascending` is cleared when the transitions are not in increasing order.
  double Line(std::span<const int32_t> transitions, HolePolarity polarity, int64_t shift, const PaperSpan& paper,
              double position, bool& ascending) const {
    // Local copies: the open-hole state written for every sample could otherwise alias them.
    const Limits limits = limits_;
    OpenHoles& open = open_;
    const bool holes_first = FirstRunIsHole(polarity);
    LineSums sums;
    const int32_t* next = transitions.data();
    const int32_t* const end = next + transitions.size();
    int64_t prev = 0;
    // Runs alternate between hole and paper; when run 0 is paper it is passed first.
    if (!holes_first && next != end) prev = *next++ + shift;
    bool in_order = true;
    int64_t before = holes_first ? INT64_MIN : prev;  // the value before t in the line
    while (next != end) {
      const int64_t t = *next++ + shift;
      in_order &= t >= before;
      // The centre pixel, prev + 0.5 * (t - prev) truncated toward zero: the sum of an integer
      // and a half is exact in a double, so integer division gives the same pixel.
      const int64_t c = (prev + t) / 2;
      if (c >= limits.first && c <= limits.last && IsOnPaper(paper, prev - shift, t - shift)) {
        // A run about one track spacing wide is one hole; wider runs are two, three or four
        // holes punched side by side; wider still (a roll edge, a tear) gives no samples.
        const double g = static_cast<double>(t - prev);
        if (g <= limits.one)
          sums = Sample(limits, open, sums, c, g, 1);
        else if (g <= limits.four)
          sums = WideRun(limits, open, sums, static_cast<double>(prev), g);
      }
      if (next == end) break;
      prev = *next++ + shift;  // the paper run that follows
      in_order &= prev >= t;
      before = prev;
    }
    ascending = in_order;
    open.EndLineWithHits(position, {sums.hits0, sums.hits1, sums.hits2, sums.hits3}, holes_);
    return sums.total > 0 ? -(sums.sum / sums.total) : -sums.sum;
  }

 private:
  struct Limits {
    const TrackLookupMap::SampleEntry* entries;
    const double* weights;  // per track
    int64_t first;          // the tracked span
    int64_t last;
    double one, two, three, four;  // 1.3, 2.3, 3.3 and 4.3 track spacings
  };

  // Sampling is inlined into the line loop even where a build's instrumentation would keep
  // it apart: the sums then stay in registers instead of being copied at every sample.
  [[gnu::always_inline]] static LineSums WideRun(const Limits& limits, OpenHoles& open, LineSums sums, double prev,
                                                 double g) {
    if (g <= limits.two) {
      sums = SampleAt(limits, open, sums, prev, g, 0.2, 0.5);
      sums = SampleAt(limits, open, sums, prev, g, 0.8, 0.5);
    } else if (g <= limits.three) {
      constexpr double kThird = 0.3333333333333333;
      sums = SampleAt(limits, open, sums, prev, g, 0.2, kThird);
      sums = SampleAt(limits, open, sums, prev, g, 0.45, kThird);
      sums = SampleAt(limits, open, sums, prev, g, 0.87, kThird);
    } else {
      sums = SampleAt(limits, open, sums, prev, g, 0.2, 0.25);
      sums = SampleAt(limits, open, sums, prev, g, 0.44, 0.25);
      sums = SampleAt(limits, open, sums, prev, g, 0.65, 0.25);
      sums = SampleAt(limits, open, sums, prev, g, 0.93, 0.25);
    }
    return sums;
  }

  // The sample at fraction f of a wide run from `prev`, `g` pixels wide, if it is on the map.
  [[gnu::always_inline]] static LineSums SampleAt(const Limits& limits, OpenHoles& open, LineSums sums, double prev,
                                                  double g, double f, double factor) {
    const auto q = static_cast<int64_t>(prev + f * g);  // |prev| and g stay below 2^34
    return q >= limits.first && q <= limits.last ? Sample(limits, open, sums, q, g, factor) : sums;
  }

  // One sample at pixel q of a run `width` pixels wide.
  [[gnu::always_inline]] static LineSums Sample(const Limits& limits, OpenHoles& open, LineSums sums, int64_t q,
                                                double width, double factor) {
    const TrackLookupMap::SampleEntry& entry = limits.entries[q];
    const auto track = static_cast<uint32_t>(entry.Track);  // 0..255 in a built map
    const uint64_t bit = uint64_t{1} << (track & 63);
    const uint32_t word = track >> 6;
    sums.hits0 |= word == 0 ? bit : 0;
    sums.hits1 |= word == 1 ? bit : 0;
    sums.hits2 |= word == 2 ? bit : 0;
    sums.hits3 |= word == 3 ? bit : 0;
    open.RaiseWidestRun(entry.Track, width);
    // offset * weight * factor, the first product taken from the map.
    sums.sum = sums.sum + entry.WeightedOffset * factor;
    sums.total = sums.total + limits.weights[track];
    return sums;
  }

  OpenHoles& open_;
  HoleList& holes_;
  Limits limits_;
};

// Whole pixels of a correction. A shift beyond the 32-bit range moves every run off the map
// either way; holding it there keeps the sums of pixel columns exact.
int64_t ShiftPixels(double correction, double dpi) { return TruncToInt32(correction * dpi); }

// One roll edge's search state.
struct EdgeSearch {
  int64_t expected;
  int64_t best;
  int64_t error = 0;
  bool found = false;

  // The transition nearest to the expected edge within `capture` (capture > 0), the earlier
  // one on a tie, among transitions in increasing order: the last at or below the edge or
  // the first above it. `above` is the number of transitions at or below the expected edge.
  void Nearest(std::span<const int32_t> ascending, size_t above, int64_t capture) {
    int64_t below_distance = capture + 1;
    if (above > 0) {
      below_distance = expected - ascending[above - 1];
      if (below_distance <= capture) {
        error = below_distance;
        found = true;
      }
    }
    if (above < ascending.size()) {
      const int64_t distance = ascending[above] - expected;
      if (distance <= capture && distance < below_distance) {
        error = -distance;
        found = true;
      }
    }
  }

  // One transition, in the order of the line.
  void Consider(int64_t t, int64_t capture) {
    int64_t a = expected - t;
    if (a >= 0 && a <= capture && a < best) {
      best = a;
      error = a;
      found = true;
    }
    a = t - expected;
    if (a >= 0 && a <= capture && a < best) {
      best = a;
      error = -a;
      found = true;
    }
  }
};

// The roll-edge search of a pass. The expected edge pixels change only with the correction,
// and an edge's place among a line's transitions seldom changes from one line to the next,
// so both are kept; the errors, whole pixels within the capture distance, are divided by
// the pixels per inch once for the pass.
class EdgeTracker {
 public:
  explicit EdgeTracker(const RollEdgeSetup& setup)
      : setup_(setup),
        ppi_(setup.PixelsPerInch),
        // Held to 32 bits so that the sums below cannot overflow whatever the settings.
        capture_(TruncToInt32(setup.CaptureDistance * setup.PixelsPerInch)) {
    if (capture_ > 0 && capture_ <= kMaxTabledCapture) {
      for (int64_t k = -capture_; k <= capture_; ++k) inches_.push_back(k / ppi_);
      for (int64_t k = -2 * capture_; k <= 2 * capture_; ++k) means_.push_back(k / (2 * ppi_));
    }
    SetCorrection(0);
  }

  void SetCorrection(double correction) {
    const double origin = setup_.Offset + correction;
    lower_expected_ = TruncToInt32((setup_.LowerExpected - origin) * ppi_);
    upper_expected_ = TruncToInt32((setup_.UpperExpected - origin) * ppi_);
  }

  // The line's edge findings, the mean of the two errors in inches returned as well.
  // `ascending` says the transitions are in increasing order.
  double Line(std::span<const int32_t> transitions, bool ascending, RollEdgeFinding& finding) {
    EdgeSearch lower{lower_expected_, 2 * capture_};
    EdgeSearch upper{upper_expected_, 2 * capture_};
    if (capture_ > 0 && ascending) {
      lower.Nearest(transitions, Place(transitions, lower_expected_, lower_hint_), capture_);
      upper.Nearest(transitions, Place(transitions, upper_expected_, upper_hint_), capture_);
    } else if (capture_ > 0) {
      // Only transitions within the capture distance of an edge can count; one unsigned
      // comparison per edge picks them out.
      const auto window = static_cast<uint64_t>(2 * capture_);
      for (const int32_t t : transitions) {
        if (static_cast<uint64_t>(t - lower.expected + capture_) <= window) lower.Consider(t, capture_);
        if (static_cast<uint64_t>(t - upper.expected + capture_) <= window) upper.Consider(t, capture_);
      }
    }
    finding.LowerEdgeFound = lower.found;
    finding.UpperEdgeFound = upper.found;
    if (inches_.empty()) {
      finding.LowerEdgeError = lower.error / ppi_;
      finding.UpperEdgeError = upper.error / ppi_;
      finding.MeanError = (lower.error + upper.error) / (2 * ppi_);
    } else {
      finding.LowerEdgeError = inches_[static_cast<size_t>(lower.error + capture_)];
      finding.UpperEdgeError = inches_[static_cast<size_t>(upper.error + capture_)];
      finding.MeanError = means_[static_cast<size_t>(lower.error + upper.error + 2 * capture_)];
    }
    return finding.MeanError;
  }

 private:
  static constexpr int64_t kMaxTabledCapture = 4096;

  // Number of transitions at or below `value` in ascending transitions; `hint` holds the
  // answer for the previous line and is tried first.
  static size_t Place(std::span<const int32_t> ascending, int64_t value, size_t& hint) {
    const size_t n = ascending.size();
    if (!(hint <= n && (hint == 0 || ascending[hint - 1] <= value) && (hint == n || ascending[hint] > value)))
      hint = CountUpTo(ascending, value);
    return hint;
  }

  RollEdgeSetup setup_;
  double ppi_;
  int64_t capture_;
  int64_t lower_expected_ = 0;
  int64_t upper_expected_ = 0;
  size_t lower_hint_ = 0;
  size_t upper_hint_ = 0;
  std::vector<double> inches_;  // k / ppi for k = -capture .. capture
  std::vector<double> means_;   // k / (2 ppi) for k = -2 capture .. 2 capture
};

}  // namespace

HolePolarity DetectHolePolarity(const CisScanData& data, int lighting_method) {
  if (lighting_method == kLightingReflective) return HolePolarity::kEvenRuns;
  if (lighting_method == kLightingTransmissive) return HolePolarity::kOddRuns;
  const int lines = std::max(0, std::min(data.Lines.Size(), 2 * static_cast<int>(data.Header.LinesPerInch)));
  int64_t even = 0;
  int64_t odd = 0;
  for (int i = 0; i < lines; ++i) {
    int64_t previous = 0;
    bool is_even = true;
    for (const int32_t t : data.Lines.Transitions(i)) {
      (is_even ? even : odd) += t - previous;
      previous = t;
      is_even = !is_even;
    }
  }
  return even <= odd ? HolePolarity::kEvenRuns : HolePolarity::kOddRuns;
}

double AssignHoles(const CisScanData& data, int line, double correction, const TrackLookupMap& map, OpenHoles& open,
                   HoleList& holes) {
  HoleSampler sampler(map, open, holes);
  bool ascending = true;
  return sampler.Line(data.Lines.Transitions(line), data.Run.Polarity, ShiftPixels(correction, map.Dpi),
                      data.Run.PaperOn(line), data.Lines.Position(line), ascending);
}

RollEdgeSetup MakeRollEdgeSetup(const ScannerGeometry& scanner, const RollTypeDefinition& roll,
                                double capture_distance) {
  RollEdgeSetup setup;
  setup.Offset = scanner.Offset;
  setup.PixelsPerInch = scanner.PixelsPerInch();
  setup.LowerExpected = roll.LowerRollEdgeExpectedLocation;
  setup.UpperExpected = roll.UpperRollEdgeExpectedLocation;
  setup.CaptureDistance = capture_distance;
  return setup;
}

RollEdgeFinding RollEdgeError(const CisScanData& data, int line, double correction, const RollEdgeSetup& setup) {
  EdgeTracker edges(setup);
  edges.SetCorrection(correction);
  const std::span<const int32_t> transitions = data.Lines.Transitions(line);
  RollEdgeFinding finding;
  edges.Line(transitions, std::is_sorted(transitions.begin(), transitions.end()), finding);
  return finding;
}

void ProcessScanLines(CisScanData& data, const RollTypeDefinition& roll, const ScannerSettings& scanner_settings,
                      const ActiveTrackingSettings& tracking, bool write_lookup_map_file, TrackLookupMap& map,
                      HoleList& holes, KeywordList& keywords, Reporter& reporter) {
  const double edge_weight = tracking.EdgeErrorWeightingFactor;
  const double update_distance = tracking.TrackingUpdateDistance;
  double gain = tracking.TrackingLoopGain;

  data.Run.Polarity = DetectHolePolarity(data, scanner_settings.ScanLightingMethod);

  const ScannerGeometry scanner = ReadScannerGeometry(scanner_settings, reporter);
  map.BuildLookupMap(scanner, data, roll, write_lookup_map_file, reporter);
  holes.clear();

  if (scanner_settings.ActiveTracking) {
    keywords.AddKeyValue("/ActiveTracking:", " ON ");
  } else {
    keywords.AddKeyValue("/ActiveTracking:", " OFF ");
    gain = 0;
  }

  const int n = data.Lines.Size();
  if (n == 0) return;
  EdgeTracker edges(MakeRollEdgeSetup(scanner, roll, tracking.RollEdgeCaptureDistance));
  const ScanLineArray& lines = data.Lines;
  std::vector<double>& offsets = data.Lines.MutableTrackingOffsets();
  RollEdgeFinding edge_finding;
  OpenHoles open;
  HoleSampler sampler(map, open, holes);

  double correction = 0;   // sideways correction in force, inches
  double error_sum = 0;    // weighted hole and edge errors since the last update
  int lines_summed = 0;    // lines in error_sum
  double last_update = 0;  // position of the last update, inches
  int first_unset = 0;     // first line without a recorded offset
  LineProgress progress(reporter, n, kProgressTracking, "Processing CIS File Line = ");
  for (int i = 0; i < n; ++i) {
    if (!progress.At(i)) break;
    // The holes and the roll-edge error of line i with the correction of the last update
    // (independent of each other; the hole pass also finds whether the line is in order).
    const std::span<const int32_t> transitions = lines.Transitions(i);
    const double position = lines.Position(i);
    bool ascending = true;
    const double hole_error = sampler.Line(transitions, data.Run.Polarity, ShiftPixels(correction, map.Dpi),
                                           data.Run.PaperOn(i), position, ascending);
    const double edge_error = edges.Line(transitions, ascending, edge_finding);
    error_sum = error_sum + hole_error + edge_weight * edge_error;
    ++lines_summed;
    if (position - last_update >= update_distance) {
      correction = correction + gain * error_sum / lines_summed;
      edges.SetCorrection(correction);
      for (int k = first_unset; k <= i; ++k) offsets[static_cast<size_t>(k)] = correction;
      first_unset = i + 1;
      error_sum = 0;
      lines_summed = 0;
      last_update = position;
    }
  }
  for (int k = first_unset; k < n; ++k) offsets[static_cast<size_t>(k)] = correction;
}

}  // namespace tarvelo
