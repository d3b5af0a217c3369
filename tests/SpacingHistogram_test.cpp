#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "events/EventBuilding.h"
#include "events/SpacingHistogram.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::RecordingFrontEnd;

struct HoleSpec {
  int track;
  double start;
  double end;
};

// ScanImage events of hand-made holes (the Fail-Safe roll type: restoration tracks 18..113,
// punch diameter 0.07 inch).
EventList EventsOf(const std::vector<HoleSpec>& specs, const RollTypeDefinition& roll) {
  HoleList holes;
  for (const HoleSpec& h : specs) {
    PunchedHole hole;
    hole.Track = h.track;
    hole.StartPosition = h.start;
    hole.EndPosition = h.end;
    hole.Length = h.end - h.start;
    holes.push_back(hole);
  }
  RecordingFrontEnd ui;
  return BuildScanImageEvents(holes, roll, "", ui);
}

uint32_t Total(const std::array<uint32_t, SpacingHistograms::kBins>& bins) {
  return std::accumulate(bins.begin(), bins.end(), 0u);
}

TEST(SpacingHistogram, SameTrackSpacingCountsLeadingAndTrailingEdgesInTheirHalf) {
  const RollTypeDefinition roll;
  // Events: title, on 1500 | off 1600, on 1625, off 1725: the first half holds two events.
  const auto h = ComputeSpacingHistograms(EventsOf({{40, 1.5, 1.6}, {40, 1.625, 1.725}}, roll), roll, false);
  EXPECT_EQ(h.All[125], 2u);
  EXPECT_EQ(Total(h.All), 2u);
  EXPECT_EQ(Total(h.FirstHalf), 0u);
  EXPECT_EQ(h.SecondHalf[125], 2u);
}

TEST(SpacingHistogram, NeighbourWindowUsesHoleCentres) {
  RollTypeDefinition roll;
  roll.TrackHolePunchDiameter[52] = 0.08;
  // Track 52 lies within 12 of 40 and of 53; 53 and 40 are 13 apart.
  const auto events = EventsOf({{40, 2.0, 2.05}, {52, 2.2, 2.25}, {53, 2.4, 2.45}}, roll);
  const auto h = ComputeSpacingHistograms(events, roll, false);
  // Centres: 52's leading edge moves 40 forward, 40's and 53's 35; trailing edges move back.
  EXPECT_EQ(h.All[205], 2u);  // 52 on after 40 on; 53 off after 52 off
  EXPECT_EQ(h.All[195], 2u);  // 52 off after 40 off; 53 on after 52 on
  EXPECT_EQ(h.All[400], 0u);
  EXPECT_EQ(Total(h.All), 4u);
  EXPECT_EQ(Total(ComputeSpacingHistograms(events, roll, true).All), 0u);
}

TEST(SpacingHistogram, TracksOutsideTheRestorationSetAreIgnored) {
  RollTypeDefinition roll;
  roll.TrackUsedForRestoration[45] = false;
  // Track 10 lies below the range, 45 has no flag: neither counts nor moves its last positions,
  // so 46's comparison with 45 is against position 0, too far to count.
  const auto h = ComputeSpacingHistograms(
      EventsOf({{10, 3.0, 3.05}, {10, 3.125, 3.2}, {45, 3.0, 3.05}, {45, 3.125, 3.2}, {46, 3.3, 3.35}}, roll), roll,
      false);
  EXPECT_EQ(Total(h.All), 0u);
}

TEST(SpacingHistogram, NearTheRollStartEveryNeighbourCountsFromPositionZero) {
  const RollTypeDefinition roll;
  // One hole on track 40: its edges are compared with position 0 on the 25 tracks 28..52.
  const auto h = ComputeSpacingHistograms(EventsOf({{40, 0.5, 0.6}}, roll), roll, false);
  EXPECT_EQ(h.All[500], 25u);
  EXPECT_EQ(h.All[600], 25u);
  EXPECT_EQ(Total(h.All), 50u);
  // At the edge of the range the window is clamped: track 18 sees 18..30.
  EXPECT_EQ(ComputeSpacingHistograms(EventsOf({{18, 0.5, 0.6}}, roll), roll, false).All[500], 13u);
}

TEST(SpacingHistogram, StoreKeepsBinsOneTo249AndFollowsTheSameTrackSwitch) {
  RecordingFrontEnd ui;
  const RollTypeDefinition roll;
  // Spacings: 0 (tracks 40 and 41 together), 125 and 250 on track 40.
  const auto events = EventsOf({{40, 2.0, 2.1}, {41, 2.0, 2.1}, {40, 2.125, 2.225}, {40, 2.375, 2.45}}, roll);
  SpacingHistogramStore store;
  store.HistogramAll[7] = 99;  // left from an earlier conversion
  BuildSpacingHistogram(events, roll, false, store, ui);
  EXPECT_EQ(ui.statuses.back(), "Building Histogram Array");
  const auto full = ComputeSpacingHistograms(events, roll, false);
  EXPECT_GT(full.All[0], 0u);
  EXPECT_GT(full.All[250], 0u);
  EXPECT_EQ(store.HistogramAll[0], 0u);
  EXPECT_EQ(store.HistogramAll[7], 0u);
  for (int bin = 1; bin <= 249; ++bin) {
    EXPECT_EQ(store.HistogramAll[static_cast<size_t>(bin)], full.All[static_cast<size_t>(bin)]) << bin;
    EXPECT_EQ(store.HistogramFirstHalf[static_cast<size_t>(bin)], full.FirstHalf[static_cast<size_t>(bin)]) << bin;
    EXPECT_EQ(store.HistogramSecondHalf[static_cast<size_t>(bin)], full.SecondHalf[static_cast<size_t>(bin)]) << bin;
  }
  // 125 from track 40 alone, and from 41's edges at 2.0 / 2.1 seen by track 40's second hole.
  EXPECT_EQ(store.HistogramAll[125], 4u);

  BuildSpacingHistogram(events, roll, true, store, ui);
  EXPECT_EQ(store.HistogramAll[125], 2u);
}

// The histograms of a conversion are part of its summary, unless the front end never shows them.
TEST(SpacingHistogram, DocumentKeepsThemInItsSummaryWhenWanted) {
  testing::TempDir dir;
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.1}, {60, 0.7, 0.1}, {64, 0.55, 0.1}};  // spacings within 1..249 thousandths
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  const auto& histogram = doc.Summary().SpacingHistogram.HistogramAll;
  EXPECT_GT(std::accumulate(histogram.begin(), histogram.end(), 0u), 0u);

  doc.SetSpacingHistogramWanted(false);
  doc.RunPipeline(ui.settings);
  const auto& skipped = doc.Summary().SpacingHistogram.HistogramAll;
  EXPECT_EQ(std::accumulate(skipped.begin(), skipped.end(), 0u), 0u);
}

}  // namespace
}  // namespace tarvelo
