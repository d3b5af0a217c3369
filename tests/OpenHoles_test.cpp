#include <gtest/gtest.h>

#include <random>

#include "events/OpenHoles.h"

namespace tarvelo {
namespace {

TEST(OpenHoles, HoleClosesAtTheFirstLineWithoutASampleInTrackOrder) {
  OpenHoles store;
  HoleList holes;
  // Line at 1.0: tracks 200 and 3 hit; line at 1.1: only 200 (wider); line at 1.2: none.
  store.AddSample(200, 1.0, 20);
  store.AddSample(3, 1.0, 18);
  store.EndLine(1.0, holes);
  EXPECT_TRUE(store.IsOpen(3));
  EXPECT_TRUE(holes.empty());
  store.AddSample(200, 1.1, 25);
  store.AddSample(200, 1.1, 22);
  store.EndLine(1.1, holes);
  ASSERT_EQ(holes.size(), 1u);
  EXPECT_FALSE(store.IsOpen(3));
  EXPECT_EQ(holes[0].Track, 3);
  EXPECT_EQ(holes[0].StartPosition, 1.0);
  EXPECT_EQ(holes[0].EndPosition, 1.1);
  EXPECT_EQ(holes[0].Length, 1.1 - 1.0);
  EXPECT_EQ(holes[0].MaxWidth, 18);
  EXPECT_FALSE(holes[0].Removed);

  // Track 3 opens again and 64 (another word of the state) too; all three close together.
  store.AddSample(3, 1.2, 10);
  store.AddSample(64, 1.2, 11);
  store.EndLine(1.2, holes);
  store.EndLine(1.3, holes);
  ASSERT_EQ(holes.size(), 4u);
  EXPECT_EQ(holes[1].Track, 200);  // closed at 1.2, when it was not hit
  EXPECT_EQ(holes[1].StartPosition, 1.0);
  EXPECT_EQ(holes[1].MaxWidth, 25);
  EXPECT_EQ(holes[2].Track, 3);
  EXPECT_EQ(holes[2].StartPosition, 1.2);
  EXPECT_EQ(holes[2].MaxWidth, 10);  // the widest run was cleared when the first hole closed
  EXPECT_EQ(holes[3].Track, 64);
  EXPECT_EQ(holes[3].EndPosition, 1.3);

  // A hole still open after the last line is never appended; out-of-range tracks are ignored.
  store.AddSample(9, 2.0, 10);
  store.AddSample(256, 2.0, 10);
  store.AddSample(-1, 2.0, 10);
  store.RaiseWidestRun(300, 10);
  store.EndLine(2.0, holes);
  EXPECT_EQ(holes.size(), 4u);
  EXPECT_TRUE(store.IsOpen(9));
  EXPECT_FALSE(store.IsOpen(256));
  EXPECT_FALSE(store.IsOpen(-1));
}

// Holes of every word of the state that close on one line come out in track order, whatever
// order their samples came in; each keeps its own start and width.
TEST(OpenHoles, HolesClosingTogetherComeInTrackOrder) {
  OpenHoles store;
  HoleList holes;
  store.AddSample(255, 0.5, 1);
  store.EndLine(0.5, holes);
  store.AddSample(255, 0.6, 1);
  store.AddSample(130, 0.6, 2);
  store.EndLine(0.6, holes);
  store.AddSample(255, 0.7, 3);
  store.AddSample(0, 0.7, 4);
  store.AddSample(130, 0.7, 5);
  store.AddSample(64, 0.7, 6);
  store.EndLine(0.7, holes);
  store.EndLine(0.8, holes);
  ASSERT_EQ(holes.size(), 4u);
  const int tracks[] = {0, 64, 130, 255};
  const double starts[] = {0.7, 0.7, 0.6, 0.5};
  const double widths[] = {4, 6, 5, 3};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(holes[k].Track, tracks[k]) << k;
    EXPECT_EQ(holes[k].StartPosition, starts[k]) << k;
    EXPECT_EQ(holes[k].EndPosition, 0.8) << k;
    EXPECT_EQ(holes[k].MaxWidth, widths[k]) << k;
  }
}

}  // namespace
}  // namespace tarvelo

namespace tarvelo {
namespace {

TEST(OpenHoles, LineOfCollectedHitsEqualsSampleBySample) {
  std::mt19937 random(5);
  OpenHoles one, batch;
  HoleList one_holes, batch_holes;
  for (int line = 0; line < 400; ++line) {
    const double position = line * 0.01;
    OpenHoles::TrackBits hits{};
    const int samples = static_cast<int>(random() % 6);
    for (int k = 0; k < samples; ++k) {
      // Few tracks, so that holes open, continue and close.
      const int track = static_cast<int>(random() % 8) * 37 % 256;
      const double width = static_cast<double>(random() % 50);
      one.AddSample(track, position, width);
      batch.RaiseWidestRun(track, width);
      hits[static_cast<size_t>(track) / 64] |= uint64_t{1} << (track % 64);
    }
    one.EndLine(position, one_holes);
    batch.EndLineWithHits(position, hits, batch_holes);
  }
  ASSERT_GT(one_holes.size(), 50u);
  ASSERT_EQ(batch_holes.size(), one_holes.size());
  for (size_t k = 0; k < one_holes.size(); ++k) {
    EXPECT_EQ(batch_holes[k].Track, one_holes[k].Track);
    EXPECT_EQ(batch_holes[k].StartPosition, one_holes[k].StartPosition);
    EXPECT_EQ(batch_holes[k].EndPosition, one_holes[k].EndPosition);
    EXPECT_EQ(batch_holes[k].MaxWidth, one_holes[k].MaxWidth);
  }
}

}  // namespace
}  // namespace tarvelo
