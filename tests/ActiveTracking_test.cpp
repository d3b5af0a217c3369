#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "geometry/ActiveTracking.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using Transitions = std::vector<int32_t>;

// Lines 0, 1, 2, ... at 0.01 inch apart.
CisScanData Lines(const std::vector<Transitions>& lines) {
  CisScanData data;
  for (size_t i = 0; i < lines.size(); ++i) {
    LineGeometry geometry;
    geometry.Position = static_cast<double>(i) * 0.01;
    data.Lines.AppendLine(lines[i], 0, geometry);
  }
  return data;
}

// A map at 320 DPI with the Fail-Safe bands and a track spacing of 40 pixels.
struct MapAt320 {
  RollTypeDefinition roll;
  TrackLookupMap map;
  explicit MapAt320(int lowest_track = 0) {
    roll.DefaultTrackCenterSpacing = 0.125;
    roll.LowestTrackHoleNumber = lowest_track;
    ScannerGeometry scanner;
    scanner.Dpi = 320;
    scanner.Offset = 0;
    map.Build(scanner, 3000, roll);
  }
};

TEST(AssignHoles, RunOfOneAndAThirdSpacingsIsOneHoleAndWiderIsTwo) {
  MapAt320 m;
  ASSERT_EQ(1.3 * m.map.TrackSpacingPixels, 52.0);
  // Runs 1, 3, ... are holes. A run of 52 pixels from 700: one sample at 726 (track 20).
  CisScanData data = Lines({{700, 752, 3000}, {700, 753, 3000}});
  data.Run.Polarity = HolePolarity::kOddRuns;
  OpenHoles open;
  HoleList holes;
  const double one = AssignHoles(data, 0, 0.0, m.map, open, holes);
  EXPECT_TRUE(open.IsOpen(20));
  EXPECT_FALSE(open.IsOpen(19));
  EXPECT_EQ(one, -(m.map.OffsetFromCenterAt(726) * 1.0 / 1.0));

  // 53 pixels: samples at 20% (710, track 19) and 80% (742, track 20), each counting half.
  OpenHoles again;
  const double two = AssignHoles(data, 1, 0.0, m.map, again, holes);
  EXPECT_TRUE(again.IsOpen(19));
  EXPECT_TRUE(again.IsOpen(20));
  const double sum = m.map.OffsetFromCenterAt(710) * 0.5 + m.map.OffsetFromCenterAt(742) * 0.5;
  EXPECT_EQ(two, -(sum / 2.0));
}

TEST(AssignHoles, RunCentredOutsideTheTrackedSpanGivesNoSamples) {
  MapAt320 m(20);  // tracked span starts at pixel 711
  ASSERT_EQ(m.map.FirstPixel, 711);
  // 100 pixels from 660: centre 710 outside, although the sample at 87% (747) lies inside.
  CisScanData data = Lines({{660, 760, 3000}, {662, 762, 3000}, {}});
  data.Run.Polarity = HolePolarity::kOddRuns;
  OpenHoles open;
  HoleList holes;
  EXPECT_EQ(AssignHoles(data, 0, 0.0, m.map, open, holes), 0.0);
  for (int t = 0; t < 256; ++t) EXPECT_FALSE(open.IsOpen(t));
  // From 662 the centre 712 is inside; of the three samples (682, 707, 748) only 748 is.
  AssignHoles(data, 1, 0.0, m.map, open, holes);
  EXPECT_TRUE(open.IsOpen(m.map.ClosestTrackAt(748)));
  EXPECT_FALSE(open.IsOpen(m.map.ClosestTrackAt(707)));
  AssignHoles(data, 2, 0.0, m.map, open, holes);
  ASSERT_EQ(holes.size(), 1u);
  EXPECT_EQ(holes[0].MaxWidth, 100.0);
}

TEST(RollEdgeError, NearestTransitionWithinTheCaptureDistanceCounts) {
  RollEdgeSetup setup;
  setup.Offset = 1.0;
  setup.PixelsPerInch = 300;
  setup.LowerExpected = 1.6;    // pixel 180
  setup.UpperExpected = 12.85;  // pixel 3555
  setup.CaptureDistance = 0.1;  // 30 pixels
  CisScanData data = Lines({{170, 190, 3560, 3590}, {100, 1000, 3600}, {}});
  // Lower: 170 and 190 both lie 10 away; the earlier one wins. Upper: 3560, 5 beyond.
  RollEdgeFinding g = RollEdgeError(data, 0, 0.0, setup);
  EXPECT_EQ(g.MeanError, (10 + -5) / (2 * 300.0));
  EXPECT_TRUE(g.LowerEdgeFound);
  EXPECT_TRUE(g.UpperEdgeFound);
  EXPECT_EQ(g.LowerEdgeError, 10 / 300.0);
  EXPECT_EQ(g.UpperEdgeError, -5 / 300.0);
  // A correction moves the expected edges: with 0.1 inch they lie at 150 and 3525, so 170 is
  // the lower edge, 20 pixels beyond, and 3560 lies beyond the upper capture distance.
  g = RollEdgeError(data, 0, 0.1, setup);
  EXPECT_EQ(g.MeanError, (-20 + 0) / (2 * 300.0));
  EXPECT_FALSE(g.UpperEdgeFound);

  // Nothing near either edge, and a line without transitions: both errors 0, not found.
  for (int line : {1, 2}) {
    g = RollEdgeError(data, line, 0.0, setup);
    EXPECT_EQ(g.MeanError, 0.0);
    EXPECT_FALSE(g.LowerEdgeFound);
    EXPECT_FALSE(g.UpperEdgeFound);
    EXPECT_EQ(g.LowerEdgeError, 0.0);
    EXPECT_EQ(g.UpperEdgeError, 0.0);
  }
}

TEST(DetectHolePolarity, LightingDecidesOrTheSmallerAreaIsHoles) {
  CisScanData data = Lines({{10, 90, 100}, {10, 90, 100}, {95, 96, 100}, {95, 96, 100}});
  data.Header.LinesPerInch = 1;  // only the first two lines are looked at
  EXPECT_EQ(DetectHolePolarity(data, kLightingReflective), HolePolarity::kEvenRuns);
  EXPECT_EQ(DetectHolePolarity(data, kLightingTransmissive), HolePolarity::kOddRuns);
  // Runs 0 and 2 cover 20 pixels a line, run 1 covers 80: the even runs are the holes.
  EXPECT_EQ(DetectHolePolarity(data, kLightingAutoDetect), HolePolarity::kEvenRuns);
  data.Header.LinesPerInch = 2;  // lines 2 and 3 add 99 even and 1 odd each: 238 against 162
  EXPECT_EQ(DetectHolePolarity(data, kLightingAutoDetect), HolePolarity::kOddRuns);
  // The stretch after the last transition is no run.
  CisScanData open_end = Lines({{10, 20}});
  open_end.Run.ScanWidth = 100;
  EXPECT_EQ(DetectHolePolarity(open_end, kLightingAutoDetect), HolePolarity::kEvenRuns);
  CisScanData none;
  EXPECT_EQ(DetectHolePolarity(none, kLightingAutoDetect), HolePolarity::kEvenRuns);
}

// The hole pass of one line step by step, from the map's per-pixel readers.
double StepByStepAssignHoles(const Transitions& transitions, double position, bool holes_first, double correction,
                             const TrackLookupMap& map, OpenHoles& open, HoleList& holes) {
  const int shift = static_cast<int>(correction * map.Dpi);
  bool hole = holes_first;
  int prev = 0;
  double sum = 0, total = 0;
  const double s = map.TrackSpacingPixels;
  for (const int transition : transitions) {
    const int t = transition + shift;
    const double g = t - prev;
    const int c = static_cast<int>(prev + 0.5 * g);
    if (hole && map.IsInTrackedSpan(c)) {
      std::vector<std::pair<double, double>> samples;  // fraction, factor
      if (g <= 1.3 * s) {
        samples = {{-1, 1}};
      } else if (g <= 2.3 * s) {
        samples = {{0.2, 0.5}, {0.8, 0.5}};
      } else if (g <= 3.3 * s) {
        samples = {{0.2, 0.3333333333333333}, {0.45, 0.3333333333333333}, {0.87, 0.3333333333333333}};
      } else if (g <= 4.3 * s) {
        samples = {{0.2, 0.25}, {0.44, 0.25}, {0.65, 0.25}, {0.93, 0.25}};
      }
      for (const auto& [f, factor] : samples) {
        const int q = f < 0 ? c : static_cast<int>(prev + f * g);
        if (!map.IsInTrackedSpan(q)) continue;
        open.AddSample(map.ClosestTrackAt(q), position, g);
        sum = sum + map.OffsetFromCenterAt(q) * map.WeightingAt(q) * factor;
        total = total + map.WeightingAt(q);
      }
    }
    prev = t;
    hole = !hole;
  }
  open.EndLine(position, holes);
  return total > 0 ? -(sum / total) : -sum;
}

TEST(AssignHoles, MatchesTheStepByStepPassOnRandomLines) {
  std::mt19937 random(31);
  RollTypeDefinition roll;
  for (int n = 0; n < 256; ++n) roll.TrackRestorationWeight[static_cast<size_t>(n)] = (n % 7) * 0.3;
  ScannerGeometry scanner;
  scanner.Offset = 0.9;
  scanner.Stretch = 1.07;
  TrackLookupMap map;
  map.Build(scanner, 4000, roll);
  std::vector<Transitions> lines;
  for (int i = 0; i < 3000; ++i) {
    Transitions line;
    int at = static_cast<int>(random() % 40);
    while (at < 4100) {
      line.push_back(at);
      at += static_cast<int>(random() % (random() % 2 ? 160 : 40));  // zero-length runs too
    }
    lines.push_back(line);
  }
  CisScanData data = Lines(lines);
  OpenHoles fast_open, reference_open;
  HoleList fast, reference;
  for (int i = 0; i < data.Lines.Size(); ++i) {
    const bool holes_first = (i / 100) % 2 == 0;
    data.Run.Polarity = holes_first ? HolePolarity::kEvenRuns : HolePolarity::kOddRuns;
    const double correction = static_cast<int>(random() % 200 - 100) * 0.0017;
    const double expected = StepByStepAssignHoles(lines[static_cast<size_t>(i)], data.Lines.Position(i), holes_first,
                                                  correction, map, reference_open, reference);
    ASSERT_EQ(AssignHoles(data, i, correction, map, fast_open, fast), expected) << "line " << i;
  }
  ASSERT_GT(reference.size(), 1000u);
  ASSERT_EQ(fast.size(), reference.size());
  for (size_t k = 0; k < fast.size(); ++k) {
    ASSERT_EQ(fast[k].Track, reference[k].Track);
    ASSERT_EQ(fast[k].StartPosition, reference[k].StartPosition);
    ASSERT_EQ(fast[k].EndPosition, reference[k].EndPosition);
    ASSERT_EQ(fast[k].MaxWidth, reference[k].MaxWidth);
  }
}

// The roll-edge search of one line step by step over every transition.
double StepByStepEdgeError(const Transitions& transitions, double correction, const RollEdgeSetup& setup,
                           RollEdgeFinding& geometry) {
  const double origin = setup.Offset + correction;
  const double ppi = setup.PixelsPerInch;
  const int e[2] = {static_cast<int>((setup.LowerExpected - origin) * ppi),
                    static_cast<int>((setup.UpperExpected - origin) * ppi)};
  const int k = static_cast<int>(setup.CaptureDistance * ppi);
  int best[2] = {2 * k, 2 * k}, error[2] = {0, 0};
  bool found[2] = {false, false};
  for (const int t : transitions) {
    for (int edge = 0; edge < 2; ++edge) {
      int a = e[edge] - t;
      if (a >= 0 && a <= k && a < best[edge]) best[edge] = a, error[edge] = a, found[edge] = true;
      a = t - e[edge];
      if (a >= 0 && a <= k && a < best[edge]) best[edge] = a, error[edge] = -a, found[edge] = true;
    }
  }
  geometry.LowerEdgeFound = found[0];
  geometry.UpperEdgeFound = found[1];
  geometry.LowerEdgeError = error[0] / ppi;
  geometry.UpperEdgeError = error[1] / ppi;
  return (error[0] + error[1]) / (2 * ppi);
}

TEST(RollEdgeError, MatchesTheStepByStepSearchOnRandomLines) {
  std::mt19937 random(8);
  RollEdgeSetup setup;
  setup.Offset = 1.0;
  setup.LowerExpected = 1.6;
  setup.UpperExpected = 12.85;
  for (int round = 0; round < 4000; ++round) {
    setup.PixelsPerInch = 280 + static_cast<int>(random() % 40);
    setup.CaptureDistance = static_cast<int>(random() % 12) * 0.02;  // 0 (nothing found) up to 0.22
    Transitions line;
    for (int k = static_cast<int>(random() % 12); k > 0; --k) {
      const int near = random() % 2 ? 180 : 3555;
      line.push_back(near + static_cast<int>(random() % 81) - 40);
    }
    if (round % 3 != 0) std::sort(line.begin(), line.end());  // lines from a file ascend
    const double correction = static_cast<int>(random() % 21 - 10) * 0.01;
    CisScanData data = Lines({line});
    RollEdgeFinding expected;
    const double error = StepByStepEdgeError(line, correction, setup, expected);
    const RollEdgeFinding got = RollEdgeError(data, 0, correction, setup);
    ASSERT_EQ(got.MeanError, error) << round;
    ASSERT_EQ(got.LowerEdgeFound, expected.LowerEdgeFound);
    ASSERT_EQ(got.UpperEdgeFound, expected.UpperEdgeFound);
    ASSERT_EQ(got.LowerEdgeError, expected.LowerEdgeError);
    ASSERT_EQ(got.UpperEdgeError, expected.UpperEdgeError);
  }
}

struct Pass {
  testing::RecordingFrontEnd ui;
  RollTypeDefinition roll;
  TrackLookupMap map;
  HoleList holes;
  KeywordList keywords;
  void Run(CisScanData& data) {
    ProcessScanLines(data, roll, ui.settings.Scanner, ui.settings.Tracking,
                     ui.settings.Diagnostic.WriteTrackLookUpMapFile, map, holes, keywords, ui);
  }
};

// 150 lines (1.5 inches) with a hole 10 pixels above the centre of `track` on every line
// except each tenth, and no roll edges.
CisScanData OffCentreHoles(int track) {
  const int centre = static_cast<int>(300 * (track / 9.0 + 1.0 / 18 - 1.0));
  std::vector<Transitions> lines;
  for (int i = 0; i < 150; ++i) {
    if (i % 10 == 9)
      lines.push_back({2000, 3000});
    else
      lines.push_back({centre, centre + 20, 2000, 3000});  // runs 0 and 2 are paper here
  }
  return Lines(lines);
}

TEST(ProcessScanLines, OnlyWeightedTracksSteerTheLoop) {
  Pass outside;
  outside.ui.settings.Scanner.ScanLightingMethod = kLightingTransmissive;
  CisScanData data = OffCentreHoles(10);  // track 10 lies outside the restoration range
  outside.Run(data);
  for (int i = 0; i < data.Lines.Size(); ++i) ASSERT_EQ(data.Lines.Geometry(i).TrackingOffset, 0.0);
  EXPECT_EQ(outside.holes.size(), 15u);

  Pass inside;
  inside.ui.settings.Scanner.ScanLightingMethod = kLightingTransmissive;
  CisScanData steered = OffCentreHoles(50);
  inside.Run(steered);
  EXPECT_LT(steered.Lines.Geometry(149).TrackingOffset, -0.01);
  EXPECT_EQ(inside.keywords.ItemText(inside.keywords.FindKey("/ActiveTracking:")), "/ActiveTracking: ON ");
}

TEST(ProcessScanLines, HoleStillOpenAfterTheLastLineIsNotRecorded) {
  Pass pass;
  pass.ui.settings.Scanner.ScanLightingMethod = kLightingTransmissive;
  CisScanData data = Lines({{1500, 1520, 3000}, {1500, 1520, 3000}, {1500, 1520, 3000}});
  pass.Run(data);
  EXPECT_EQ(pass.holes.size(), 0u);
  EXPECT_EQ(data.Run.Polarity, HolePolarity::kOddRuns);
}

TEST(ProcessScanLines, ProgressAndEmptyFiles) {
  Pass pass;
  CisScanData empty;
  pass.Run(empty);
  EXPECT_TRUE(pass.ui.progress.empty());
  EXPECT_EQ(pass.keywords.Count(), 1);
  EXPECT_EQ(pass.map.MapWidth, 3000);

  Pass many;
  CisScanData data = Lines(std::vector<Transitions>(500, Transitions{1500, 1520, 3000}));
  many.Run(data);
  // Every 20 lines (2 * floor(500 / 50)) from line 1 on: 25 updates reaching 100 percent.
  ASSERT_EQ(many.ui.progress.size(), 25u);
  EXPECT_EQ(many.ui.progress.back().position, 100);
  EXPECT_EQ(many.ui.progress.back().colour, kProgressTracking);
  EXPECT_EQ(many.ui.statuses.front(), "Processing CIS File Line = 1");
}

TEST(ProcessScanLines, PresetValuesThatWouldDivideByZeroAreReplaced) {
  Pass pass;
  pass.ui.settings.Scanner.ScannerDPI = 0;
  pass.ui.settings.Scanner.ScannerAlignStretch = 0;
  CisScanData data = Lines({{1500, 1520, 3000}, {}});
  pass.Run(data);
  ASSERT_EQ(pass.ui.messages.size(), 2u);
  EXPECT_EQ(pass.ui.CountOf(MessageKind::kWarning), 2);  // the run goes on with safe values
  EXPECT_EQ(pass.map.Dpi, 300.0);
  EXPECT_EQ(pass.map.PixelsPerInch, 300.0);
  EXPECT_EQ(pass.holes.size(), 1u);
}

// A synthetic roll whose paper wanders sideways by up to 0.08 inch (24 pixels, more than
// half a track spacing) and back, slowly, over 40 inches.
double Drift(double position) { return 0.08 * std::sin(3.141592653589793 * position / 40.0); }

synth::SyntheticRollSpec DriftingRoll() {
  synth::SyntheticRollSpec plan;
  plan.scan_width = 3800;  // wide margins: the roll edges give no hole samples
  plan.length_inch = 40;
  plan.drift = Drift;
  for (int k = 0; k < 85; ++k) plan.holes.push_back({20 + (k * 37) % 90, 0.5 + k * 0.46, 0.2 + (k % 4) * 0.05});
  return plan;
}

struct Converted {
  testing::TempDir dir;
  testing::RecordingFrontEnd ui;
  TarveloDoc doc{ui, ui};
  explicit Converted(bool tracking) {
    ui.settings.Scanner.ActiveTracking = tracking;
    ui.settings.Scanner.AutoTweakSettings = false;  // the pass with the preset's values
    testing::WriteBytes(dir.File("drift.cis"), synth::RenderSyntheticCis(DriftingRoll()));
    EXPECT_TRUE(doc.Load(dir.File("drift.cis"), ui.settings).ok());
    if (tracking) {
      EXPECT_TRUE(ui.messages.empty()) << (ui.messages.empty() ? "" : ui.messages.front());
    } else {
      // Without tracking the drift takes holes off their tracks (half a track at its widest, so
      // that the placement check finds the notes a track off), and the run says so once.
      EXPECT_EQ(ui.messages.size(), 1u);
      EXPECT_EQ(ui.CountOf(MessageKind::kWarning), 1);
      EXPECT_TRUE(!ui.messages.empty() && ui.messages.front().rfind("The notes are 1 track (a semitone) ", 0) == 0)
          << (ui.messages.empty() ? "" : ui.messages.front());
    }
  }
};

TEST(ProcessScanLines, TrackingFollowsASlowDriftAndFindsEveryHoleOnItsTrack) {
  Converted run(true);
  const auto& holes = run.doc.Holes();
  const auto& expected = DriftingRoll().holes;
  ASSERT_EQ(holes.size(), expected.size());
  for (const synth::SyntheticHole& hole : expected) {
    int matches = 0;
    for (const PunchedHole& found : holes) {
      if (found.Track != hole.track || std::fabs(found.StartPosition - hole.start_inch) > 0.0101) continue;
      ++matches;
      EXPECT_NEAR(found.EndPosition, hole.start_inch + hole.length_inch, 0.0101);
    }
    EXPECT_EQ(matches, 1) << "track " << hole.track << " at " << hole.start_inch;
  }
  const ScanLineArray& lines = run.doc.ScanData().Lines;
  double worst = 0;
  for (int i = 300; i < lines.Size(); ++i) {
    const LineGeometry g = lines.Geometry(i);
    worst = std::max(worst, std::fabs(g.TrackingOffset + Drift(g.Position)));
  }
  EXPECT_LT(worst, 0.01);  // within 3 pixels of the drift, which reaches 24
  EXPECT_GT(std::fabs(lines.Geometry(2000).TrackingOffset), 0.07);
}

TEST(ProcessScanLines, WithoutTrackingTheDriftMovesHolesToNeighbouringTracks) {
  Converted run(false);
  int neighbours = 0;
  for (const PunchedHole& found : run.doc.Holes()) {
    for (const synth::SyntheticHole& hole : DriftingRoll().holes) {
      if (std::fabs(found.StartPosition - hole.start_inch) <= 0.0101 && found.Track == hole.track + 1) ++neighbours;
    }
  }
  EXPECT_GT(neighbours, 10);
  // The edges are still there to measure, but no correction is recorded.
  const ScanLineArray& lines = run.doc.ScanData().Lines;
  for (int i = 0; i < lines.Size(); ++i) ASSERT_EQ(lines.Geometry(i).TrackingOffset, 0.0);
  const RollEdgeSetup setup = MakeRollEdgeSetup(UsableScannerGeometry(run.ui.settings.Scanner), run.doc.RollType(),
                                                run.ui.settings.Tracking.RollEdgeCaptureDistance);
  EXPECT_TRUE(RollEdgeError(run.doc.ScanData(), 2000, 0.0, setup).LowerEdgeFound);
  const KeywordList& keywords = run.doc.Keywords();
  EXPECT_EQ(keywords.ItemText(keywords.FindKey("/ActiveTracking:")), "/ActiveTracking: OFF ");
}

}  // namespace
}  // namespace tarvelo
