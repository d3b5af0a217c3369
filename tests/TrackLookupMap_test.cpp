#include <gtest/gtest.h>

#include <random>

#include "geometry/TrackLookupMap.h"

namespace tarvelo {
namespace {

ScannerGeometry Scanner(int dpi, double offset, double stretch) {
  ScannerGeometry scanner;
  scanner.Dpi = dpi;
  scanner.Offset = offset;
  scanner.Stretch = stretch;
  return scanner;
}

TEST(TrackLookupMap, NineTracksPerInchAtThreeHundredDpi) {
  const RollTypeDefinition roll;  // Fail-Safe: tracks n/9 .. (n+1)/9
  TrackLookupMap map;
  map.Build(Scanner(300, 0.0, 1.0), 3000, roll);
  EXPECT_EQ(map.EntryCount(), 3001);
  EXPECT_EQ(map.ClosestTrackAt(0), 0);
  EXPECT_EQ(map.OffsetFromCenterAt(0), 0.0 - roll.TrackCenter[0]);
  EXPECT_NEAR(map.OffsetFromCenterAt(0), -1.0 / 18, 1e-15);
  EXPECT_EQ(map.ClosestTrackAt(33), 0);  // y = 0.11 inch
  EXPECT_EQ(map.ClosestTrackAt(34), 1);
  EXPECT_EQ(map.WeightingAt(34), 0.0);
  EXPECT_EQ(map.WeightingAt(18 * 34), 1.0);  // track 18 opens the restoration range
  EXPECT_EQ(map.ClosestTrackAt(18 * 34), 18);
  EXPECT_EQ(map.FirstPixel, 0);
  EXPECT_EQ(map.LastPixel, 3000);  // track 119 ends at 13.33 inches, beyond 3000 pixels
  EXPECT_EQ(map.TrackSpacingPixels, 300.0 * 0.1111111111);
}

TEST(TrackLookupMap, PixelOnAnUpperBoundaryBelongsToTheLowerSlot) {
  RollTypeDefinition roll;
  roll.TrackUpperBoundary[0] = 0.5;
  roll.TrackLowerBoundary[1] = 0.5;
  roll.TrackUpperBoundary[1] = 1.0;
  TrackLookupMap map;
  map.Build(Scanner(300, 0.0, 1.0), 400, roll);
  EXPECT_EQ(map.ClosestTrackAt(150), 0);  // 150 / 300 = 0.5 exactly
  EXPECT_EQ(map.ClosestTrackAt(151), 1);
}

TEST(TrackLookupMap, TrackedSpanIsHeldToTheScanLine) {
  RollTypeDefinition roll;
  roll.LowestTrackHoleNumber = 2;
  roll.HighestTrackHoleNumber = 100;
  TrackLookupMap map;
  map.Build(Scanner(300, 1.0, 1.0), 2000, roll);  // offset beyond track 2's lower edge (0.22)
  EXPECT_EQ(map.FirstPixel, 0);
  EXPECT_EQ(map.LastPixel, 2000);
  EXPECT_TRUE(map.IsInTrackedSpan(0));
  EXPECT_TRUE(map.IsInTrackedSpan(2000));
  EXPECT_FALSE(map.IsInTrackedSpan(2001));
  EXPECT_FALSE(map.IsInTrackedSpan(-1));

  map.Build(Scanner(300, 0.0, 1.0), 4000, roll);
  EXPECT_EQ(map.FirstPixel, static_cast<int32_t>(300 * roll.TrackLowerBoundary[2]));
  EXPECT_EQ(map.LastPixel, static_cast<int32_t>(300 * roll.TrackUpperBoundary[100]));
}

TEST(TrackLookupMap, StretchHalvesPixelsPerInchButNotTheOffsetPixels) {
  const RollTypeDefinition roll;
  TrackLookupMap map;
  map.Build(Scanner(300, 1.0, 2.0), 2000, roll);
  EXPECT_EQ(map.PixelsPerInch, 150.0);
  EXPECT_EQ(map.OffsetPixels, 300);
  // Track 10 (1.111..1.222 inches) spans pixels 17..33 instead of 33..66.
  EXPECT_EQ(map.ClosestTrackAt(16), 9);
  EXPECT_EQ(map.ClosestTrackAt(17), 10);
  EXPECT_EQ(map.ClosestTrackAt(33), 10);
  EXPECT_EQ(map.ClosestTrackAt(34), 11);
  EXPECT_EQ(map.TrackSpacingPixels, 150.0 * roll.DefaultTrackCenterSpacing);
}

TEST(TrackLookupMap, PixelsBeyondEverySlotMapToTheLastSlot) {
  RollTypeDefinition roll;
  for (int n = 0; n < kTrackSlots; ++n) roll.TrackUpperBoundary[static_cast<size_t>(n)] = n / 256.0;
  TrackLookupMap map;
  map.Build(Scanner(300, 0.0, 1.0), 600, roll);  // up to 2 inches; slots end before 1 inch
  EXPECT_EQ(map.ClosestTrackAt(600), 255);
  EXPECT_EQ(map.OffsetFromCenterAt(600), 2.0 - roll.TrackCenter[255]);
  EXPECT_EQ(map.WeightingAt(600), roll.TrackRestorationWeight[255]);
}

TEST(TrackLookupMap, ReadersOutsideTheMapGiveTrackZeroAndNoWeight) {
  const RollTypeDefinition roll;
  TrackLookupMap map;
  map.Build(Scanner(300, 3.0, 1.0), 100, roll);
  for (const int64_t pixel : {int64_t{-1}, int64_t{101}, int64_t{1} << 40}) {
    EXPECT_EQ(map.ClosestTrackAt(pixel), 0);
    EXPECT_EQ(map.OffsetFromCenterAt(pixel), 0.0);
    EXPECT_EQ(map.WeightingAt(pixel), 0.0);
  }
  map.Build(Scanner(300, 0.0, 1.0), -20, roll);  // a width that is not positive
  EXPECT_EQ(map.EntryCount(), 0);
  EXPECT_FALSE(map.IsInTrackedSpan(0));
  EXPECT_EQ(map.ClosestTrackAt(-10), 0);
  map.Reset();
  EXPECT_EQ(map.ClosestTrackAt(0), 0);
  EXPECT_EQ(map.TrackSpacingPixels, 33.0);
}

TEST(TrackLookupMap, SlotSearchMatchesTheFirstSlotWhoseUpperBoundaryIsNotBelow) {
  // Roll types may set bands one by one, so upper boundaries need not ascend; the scanner
  // may run the roll coordinate down (negative stretch) or be offset anywhere.
  std::mt19937 random(99);
  std::uniform_real_distribution<double> inch(-1.0, 14.0);
  for (int round = 0; round < 40; ++round) {
    RollTypeDefinition roll;
    for (int n = 0; n < kTrackSlots; ++n) {
      const double upper = round % 2 ? n / 20.0 : inch(random);
      roll.TrackUpperBoundary[static_cast<size_t>(n)] = upper;
      roll.TrackCenter[static_cast<size_t>(n)] = upper - 0.02;
    }
    const double stretch = round % 5 == 0 ? -1.3 : 0.7 + round * 0.05;
    const double offset = inch(random) * 0.3;
    TrackLookupMap map;
    map.Build(Scanner(200 + round, offset, stretch), 1500, roll);
    for (int p = 0; p <= 1500; ++p) {
      const double y = p / ((200 + round) / stretch) + offset;
      int k = 0;
      while (k < 255 && !(y <= roll.TrackUpperBoundary[static_cast<size_t>(k)])) ++k;
      ASSERT_EQ(map.ClosestTrackAt(p), k) << "round " << round << " pixel " << p;
      ASSERT_EQ(map.OffsetFromCenterAt(p), y - roll.TrackCenter[static_cast<size_t>(k)]);
    }
  }
}

TEST(TrackLookupMap, HoleTrackNumbersOutsideTheSlotsDoNotReadBeyondTheRollType) {
  RollTypeDefinition roll;
  roll.LowestTrackHoleNumber = -5;
  roll.HighestTrackHoleNumber = 400;
  TrackLookupMap map;
  map.Build(Scanner(300, 0.0, 1.0), 9000, roll);
  EXPECT_EQ(map.LowestTrack, -5);
  EXPECT_EQ(map.FirstPixel, 0);
  EXPECT_EQ(map.LastPixel, static_cast<int32_t>(300 * roll.TrackUpperBoundary[255]));
}

}  // namespace
}  // namespace tarvelo
