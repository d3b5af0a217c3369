// Runs of hole colour outside the measured paper (the scanner's background beyond an edge, the
// edge itself) are no holes for a run converted with the measured values: the spans follow
// the edges and the paper's wander, and the per-line pass and the off-track count both leave
// such runs out.
#include <gtest/gtest.h>

#include "align/OffTrackCheck.h"
#include "align/PaperOnLines.h"
#include "geometry/ActiveTracking.h"

namespace tarvelo {
namespace {

ScanLineArray LinesAt(const std::vector<double>& positions, const std::vector<int32_t>& transitions) {
  ScanLineArray lines;
  for (const double position : positions) {
    LineGeometry geometry;
    geometry.Position = position;
    lines.AppendLine(transitions, 0, geometry);
  }
  return lines;
}

TEST(PaperOnLines, SpansFollowTheEdgesAndTheWanderClearOfTheRaggedMargin) {
  ScanMeasurement measurement;
  measurement.ImageFirst = 0;
  measurement.ImageLast = 3000;
  measurement.Edges.LowerFound = true;
  measurement.Edges.UpperFound = true;
  measurement.Edges.Lower = 100;
  measurement.Edges.Upper = 2900;
  measurement.WanderPath = {{0.0, 0.0f}, {1.0, 4.0f}};
  const ScanLineArray lines = LinesAt({0.0, 0.5, 1.0, 2.0}, {3000});
  // The margin gap is a four-hundredth of the paper's 2800 pixels: 7.
  const std::vector<PaperSpan> spans = PaperOnLines(measurement, lines);
  ASSERT_EQ(spans.size(), 4u);
  const int32_t first[] = {107, 109, 111, 111};  // the wander beyond the path's end stays
  const int32_t last[] = {2893, 2895, 2897, 2897};
  for (size_t i = 0; i < spans.size(); ++i) {
    EXPECT_EQ(spans[i].First, first[i]) << i;
    EXPECT_EQ(spans[i].Last, last[i]) << i;
  }
  // The run ending at the edge and one starting inside the margin gap are off the paper.
  EXPECT_FALSE(IsOnPaper(spans[0], 60, 101));
  EXPECT_FALSE(IsOnPaper(spans[0], 105, 130));
  EXPECT_TRUE(IsOnPaper(spans[0], 108, 130));
  EXPECT_FALSE(IsOnPaper(spans[0], 2870, 2900));

  // An edge that does not show bounds nothing on its side; without edges nothing is bounded.
  measurement.Edges.UpperFound = false;
  const PaperSpan lower_only = PaperOnLines(measurement, lines)[0];
  EXPECT_EQ(lower_only.Last, PaperSpan{}.Last);
  EXPECT_TRUE(IsOnPaper(lower_only, 2950, 3000));
  measurement.Edges.LowerFound = false;
  const PaperSpan none = PaperOnLines(measurement, lines)[0];
  EXPECT_EQ(none.First, PaperSpan{}.First);
  EXPECT_TRUE(IsOnPaper(none, 0, 3000));
}

TEST(PaperOnLines, ThePerLinePassAndTheOffTrackCountLeaveTheBackgroundOut) {
  // Every line: the background up to the bass edge at pixel 90 reads as a hole-colour run from
  // 50, a hole from 700 to 740 (runs 1, 3, ... are holes).
  CisScanData data;
  std::vector<double> positions;
  for (int i = 0; i < 20; ++i) positions.push_back(0.01 * i);
  data.Lines = LinesAt(positions, {50, 90, 700, 740, 3000});
  data.Run.Polarity = HolePolarity::kOddRuns;
  RollTypeDefinition roll;
  roll.DefaultTrackCenterSpacing = 0.125;
  ScannerGeometry scanner;
  scanner.Dpi = 320;
  scanner.Offset = 0;
  TrackLookupMap map;
  map.Build(scanner, 3000, roll);
  const int background_track = map.ClosestTrackAt(70);
  const int hole_track = map.ClosestTrackAt(720);
  ASSERT_NE(background_track, hole_track);

  const auto open_tracks = [&](const CisScanData& scan) {
    OpenHoles open;
    HoleList holes;
    (void)AssignHoles(scan, 0, 0.0, map, open, holes);
    return std::make_pair(open.IsOpen(background_track), open.IsOpen(hole_track));
  };
  EXPECT_EQ(open_tracks(data), std::make_pair(true, true));  // no measured paper: every run
  const int without = CountOffTrackHoles(data, map, roll).Holes;

  data.Run.PaperOnLines.assign(positions.size(), PaperSpan{97, 2990});
  EXPECT_EQ(open_tracks(data), std::make_pair(false, true));
  EXPECT_EQ(CountOffTrackHoles(data, map, roll).Holes, without - 1);
}

}  // namespace
}  // namespace tarvelo
