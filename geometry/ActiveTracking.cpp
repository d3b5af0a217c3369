#include "geometry/ActiveTracking.h"

#include <algorithm>
#include <string>

#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

// Adds the sample at pixel q of a run `width` pixels wide to the open holes and the error sums.
inline void Sample(int64_t q, double position, double width, double factor, const CTrackLookupMap& map,
                   CTrackEventArrays& events, double& sum, double& total) {
  const double weight = map.WeightingAt(q);
  events.AddHoleSample(map.ClosestTrackAt(q), position, width);
  sum = sum + map.OffsetFromCenterAt(q) * weight * factor;
  total = total + weight;
}

inline void SampleIfTracked(int64_t prev, double f, double g, double position, double factor,
                            const CTrackLookupMap& map, CTrackEventArrays& events, double& sum, double& total) {
  const int64_t q = TruncToInt64(prev + f * g);
  if (map.IsInTrackedSpan(q)) Sample(q, position, g, factor, map, events, sum, total);
}

// One roll edge's search state.
struct EdgeSearch {
  int64_t expected;
  int64_t best;
  int64_t error = 0;
  bool found = false;

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

}  // namespace

int DetectHolePolarity(const CCisScanData& data, int lighting_method) {
  if (lighting_method == kLightingReflective) return 1;
  if (lighting_method == kLightingTransmissive) return 2;
  const int lines = std::max(0, std::min(data.Lines.Size(), 2 * static_cast<int>(data.LinesPerInch)));
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
  return even <= odd ? 1 : 2;
}

double AssignHoles(const CCisScanData& data, int line, double correction, const CTrackLookupMap& map,
                   CTrackEventArrays& events) {
  const double position = data.Lines.Position(line);
  const int64_t shift = TruncToInt64(correction * map.Dpi);
  bool hole = data.HolePolarity;
  int64_t prev = 0;
  double sum = 0;
  double total = 0;
  const double spacing = map.TrackSpacingPixels;
  const double one = 1.3 * spacing;
  const double two = 2.3 * spacing;
  const double three = 3.3 * spacing;
  const double four = 4.3 * spacing;
  for (const int32_t transition : data.Lines.Transitions(line)) {
    const int64_t t = transition + shift;
    const double g = static_cast<double>(t - prev);
    if (hole) {
      const int64_t c = TruncToInt64(prev + 0.5 * g);
      if (map.IsInTrackedSpan(c)) {
        // A run about one track spacing wide is one hole; wider runs are two, three or four
        // holes punched side by side; wider still (a roll edge, a tear) gives no samples.
        if (g <= one) {
          Sample(c, position, g, 1, map, events, sum, total);
        } else if (g <= two) {
          SampleIfTracked(prev, 0.2, g, position, 0.5, map, events, sum, total);
          SampleIfTracked(prev, 0.8, g, position, 0.5, map, events, sum, total);
        } else if (g <= three) {
          constexpr double kThird = 0.3333333333333333;
          SampleIfTracked(prev, 0.2, g, position, kThird, map, events, sum, total);
          SampleIfTracked(prev, 0.45, g, position, kThird, map, events, sum, total);
          SampleIfTracked(prev, 0.87, g, position, kThird, map, events, sum, total);
        } else if (g <= four) {
          SampleIfTracked(prev, 0.2, g, position, 0.25, map, events, sum, total);
          SampleIfTracked(prev, 0.44, g, position, 0.25, map, events, sum, total);
          SampleIfTracked(prev, 0.65, g, position, 0.25, map, events, sum, total);
          SampleIfTracked(prev, 0.93, g, position, 0.25, map, events, sum, total);
        }
      }
    }
    prev = t;
    hole = !hole;
  }
  events.EndScanLine(position);
  return total > 0 ? -(sum / total) : -sum;
}

RollEdgeSetup MakeRollEdgeSetup(const ScannerGeometry& scanner, const CRollTypeDefinition& roll,
                                double capture_distance) {
  RollEdgeSetup setup;
  setup.Offset = scanner.Offset;
  setup.PixelsPerInch = scanner.PixelsPerInch();
  setup.LowerExpected = roll.LowerRollEdgeExpectedLocation;
  setup.UpperExpected = roll.UpperRollEdgeExpectedLocation;
  setup.CaptureDistance = capture_distance;
  return setup;
}

double RollEdgeError(CCisScanData& data, int line, double correction, const RollEdgeSetup& setup) {
  const double origin = setup.Offset + correction;
  const double ppi = setup.PixelsPerInch;
  // Held to 32 bits so that the sums below cannot overflow whatever the settings.
  const int64_t capture = TruncToInt32(setup.CaptureDistance * ppi);
  EdgeSearch lower{TruncToInt32((setup.LowerExpected - origin) * ppi), 2 * capture};
  EdgeSearch upper{TruncToInt32((setup.UpperExpected - origin) * ppi), 2 * capture};
  for (const int32_t t : data.Lines.Transitions(line)) {
    lower.Consider(t, capture);
    upper.Consider(t, capture);
  }
  LineGeometry& geometry = data.Lines.MutableGeometry()[static_cast<size_t>(line)];
  geometry.LowerEdgeFound = lower.found;
  geometry.UpperEdgeFound = upper.found;
  geometry.LowerEdgeError = lower.error / ppi;
  geometry.UpperEdgeError = upper.error / ppi;
  return (lower.error + upper.error) / (2 * ppi);
}

void ProcessScanLines(CCisScanData& data, const CRollTypeDefinition& roll, CTrackLookupMap& map,
                      CTrackEventArrays& events, CKeywordList& keywords, UiServices& ui) {
  const double edge_weight = ui.EdgeErrorWeightingFactor();
  const double update_distance = ui.TrackingUpdateDistance();
  double gain = ui.TrackingLoopGain();

  data.HolePolarity = true;
  if (DetectHolePolarity(data, ui.GetScanLightingMethod()) == 2) data.HolePolarity = false;

  const ScannerGeometry scanner = ReadScannerGeometry(ui);
  map.BuildLookupMap(ui, scanner, data, roll);
  events.ClearHoles();

  if (ui.IsActiveTrackingOn()) {
    keywords.AddKeyValue("/ActiveTracking:", " ON ");
  } else {
    keywords.AddKeyValue("/ActiveTracking:", " OFF ");
    gain = 0;
  }

  const int n = data.Lines.Size();
  if (n == 0) return;
  const RollEdgeSetup edges = MakeRollEdgeSetup(scanner, roll, ui.RollEdgeCaptureDistance());
  std::vector<LineGeometry>& geometry = data.Lines.MutableGeometry();

  double correction = 0;     // X, inches
  double error_sum = 0;      // E
  int lines_summed = 0;      // n
  double last_update = 0;    // P0
  int first_unset = 0;       // w: first line without a recorded offset
  const int step = n / 50;
  int threshold = 0;
  int percent = 0;
  for (int i = 0; i < n; ++i) {
    if (i > threshold) {
      threshold += 2 * step;
      percent += 4;
      ui.SetStatusText("Processing CIS File Line = " + std::to_string(i));
      ui.SetProgress(kProgressTracking, percent);
    }
    const double edge_error = RollEdgeError(data, i, correction, edges);
    const double hole_error = AssignHoles(data, i, correction, map, events);
    error_sum = error_sum + hole_error + edge_weight * edge_error;
    ++lines_summed;
    const double position = geometry[static_cast<size_t>(i)].Position;
    if (position - last_update >= update_distance) {
      correction = correction + gain * error_sum / lines_summed;
      for (int k = first_unset; k <= i; ++k) geometry[static_cast<size_t>(k)].TrackingOffset = correction;
      first_unset = i + 1;
      error_sum = 0;
      lines_summed = 0;
      last_update = position;
    }
  }
  for (int k = first_unset; k < n; ++k) geometry[static_cast<size_t>(k)].TrackingOffset = correction;
}

}  // namespace tarvelo
