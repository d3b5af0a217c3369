// Where the main window opens: never larger than the screen's available area, at its first
// start and with a place stored on a larger (or less scaled) screen.
#include "app/WindowPlace.h"

#include <gtest/gtest.h>

namespace tarvelo::app {
namespace {

void ExpectWithin(const WindowGeometry& place, const ScreenArea& area) {
  EXPECT_GE(place.Left, area.Left);
  EXPECT_GE(place.Top, area.Top);
  EXPECT_LE(place.Left + place.Width + kFrameAllowanceWidth, area.Left + area.Width);
  EXPECT_LE(place.Top + place.Height + kFrameAllowanceHeight, area.Top + area.Height);
}

TEST(WindowPlace, TheFirstWindowTakesMostOfTheAvailableAreaAndNoMore) {
  // A full-HD screen with a panel at the top; the same screen at scale factor 2; a small screen.
  for (const ScreenArea area :
       {ScreenArea{0, 32, 1920, 1048}, ScreenArea{0, 16, 960, 524}, ScreenArea{0, 0, 800, 600}}) {
    const WindowGeometry place = WindowPlace(area, std::nullopt, 640, 400);
    ExpectWithin(place, area);
    EXPECT_GE(place.Width, area.Width * 8 / 10);
    EXPECT_GE(place.Height, area.Height * 8 / 10);
    EXPECT_FALSE(place.Maximized);
  }
  // A very wide screen: no wider than the view can fill.
  EXPECT_EQ(WindowPlace({0, 0, 5120, 1440}, std::nullopt).Width, kFirstWindowWidthLimit);
}

TEST(WindowPlace, AStoredPlaceIsKeptWhereItFitsAndHeldWithinTheAreaWhereItDoesNot) {
  const ScreenArea area{0, 0, 1920, 1080};
  const WindowGeometry stored{100, 50, 1200, 900, false};
  const WindowGeometry kept = WindowPlace(area, stored);
  EXPECT_EQ(kept.Left, 100);
  EXPECT_EQ(kept.Top, 50);
  EXPECT_EQ(kept.Width, 1200);
  EXPECT_EQ(kept.Height, 900);

  // The same place on the screen at scale factor 2 (960 x 540 in the window's pixels).
  const ScreenArea scaled{0, 0, 960, 540};
  const WindowGeometry held = WindowPlace(scaled, WindowGeometry{900, 500, 2000, 1400, true}, 600, 300);
  ExpectWithin(held, scaled);
  EXPECT_TRUE(held.Maximized);
  // Contents that need more than the area have to do with the area.
  ExpectWithin(WindowPlace(scaled, std::nullopt, 3000, 3000), scaled);
}

}  // namespace
}  // namespace tarvelo::app
