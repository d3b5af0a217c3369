// The whole-roll overview: sized to the width asked, the length fitted to the height allowed,
// ruler labels that never run into each other, every hole visible however small the scale.
#include <gtest/gtest.h>

#include "rolltypes/RollTypeDefinition.h"
#include "view/RollOverview.h"
#include "view/RollView.h"
#include "view/RollViewGeometry.h"

namespace tarvelo {
namespace {

constexpr uint32_t kHole = MakeColour(8, 0, 0);

// A roll type of 80 tracks 0.1 inch apart from 0.5 inch, on paper 9 inches wide.
RollTypeDefinition EightyTracks() {
  RollTypeDefinition roll;
  roll.LowestTrackHoleNumber = 10;
  roll.HighestTrackHoleNumber = 89;
  roll.LowerRollEdgeExpectedLocation = 0;
  roll.UpperRollEdgeExpectedLocation = 9;
  for (int track = 10; track <= 89; ++track) {
    roll.TrackCenter[track] = 0.5 + 0.1 * (track - 10);
    roll.TrackWidth[track] = 0.1;
    roll.SetTrackBoundsFromCentre(track);
    roll.TrackBackgroundColor[track] = track % 2 ? MakeColour(220, 240, 220) : MakeColour(240, 220, 220);
  }
  return roll;
}

int HolePixels(const RgbImage& image) {
  int count = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) count += image.Pixel(x, y) == kHole;
  return count;
}

TEST(RollOverview, ShortRollsKeepTheirProportionsLongOnesAreFittedToTheHeight) {
  const RollTypeDefinition roll = EightyTracks();
  Picture picture;
  // 24 inches at the width's scale (532 columns for 9 inches): about 1420 rows.
  DrawRollOverview(24, {}, roll, OverviewSize{600, 2000}, picture);
  EXPECT_EQ(picture.Image.width, 600);
  EXPECT_NEAR(picture.Image.height, 24 * 532 / 9.0 + 2 * kOverviewMargin, 2);
  // 100 feet: fitted to the height allowed.
  DrawRollOverview(1200, {}, roll, OverviewSize{300, 900}, picture);
  EXPECT_EQ(picture.Image.width, 300);
  EXPECT_EQ(picture.Image.height, 900);
  // A width too narrow for the ruler and a track is widened.
  DrawRollOverview(10, {}, roll, OverviewSize{10, 500}, picture);
  EXPECT_EQ(picture.Image.width, kOverviewLeastWidth);
}

TEST(RollOverview, RulerLabelsNeverOverlapAndAreInFeetInOrder) {
  const RollTypeDefinition roll = EightyTracks();
  for (const int height : {200, 600, 2000, 8000}) {
    for (const double feet : {1.5, 30.0, 400.0}) {
      Picture picture;
      DrawRollOverview(feet * 12, {}, roll, OverviewSize{400, height}, picture);
      ASSERT_FALSE(picture.Labels.empty()) << feet << " feet in " << height;
      EXPECT_EQ(picture.Labels.front().Text, "0 feet");
      for (size_t i = 1; i < picture.Labels.size(); ++i) {
        EXPECT_GE(picture.Labels[i].Y - picture.Labels[i - 1].Y, kLabelRowHeight)
            << picture.Labels[i].Text << ", " << feet << " feet in " << height;
      }
      EXPECT_LE(picture.Labels.back().Y + kLabelRowHeight, picture.Image.height);
    }
  }
}

TEST(RollOverview, EveryHoleTakesAtLeastAPixelOverItsTrack) {
  const RollTypeDefinition roll = EightyTracks();
  HoleList holes(2);
  holes[0].Track = 40;
  holes[0].StartPosition = 600;
  holes[0].EndPosition = 600.001;  // far shorter than a row of a 100-foot roll in 400 rows
  holes[1] = holes[0];
  holes[1].Track = 41;
  holes[1].Removed = true;  // cleaned up: not drawn
  Picture picture;
  DrawRollOverview(1200, holes, roll, OverviewSize{kOverviewLeastWidth, 400}, picture);
  EXPECT_GE(HolePixels(picture.Image), 1);
  holes.pop_back();
  Picture alone;
  DrawRollOverview(1200, holes, roll, OverviewSize{kOverviewLeastWidth, 400}, alone);
  EXPECT_EQ(HolePixels(alone.Image), HolePixels(picture.Image)) << "the removed hole is not drawn";
  // Its track's colour is there beside it.
  const int middle = (kOverviewRulerWidth + picture.Image.width) / 2;
  EXPECT_NE(picture.Image.Pixel(middle, 2 * kOverviewMargin), kViewBackground);
}

}  // namespace
}  // namespace tarvelo
