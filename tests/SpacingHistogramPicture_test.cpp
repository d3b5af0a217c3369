#include <gtest/gtest.h>

#include "view/SpacingHistogramPicture.h"

namespace tarvelo {
namespace {

constexpr uint32_t kWhite = MakeColour(255, 255, 255);
constexpr uint32_t kGrey = MakeColour(230, 230, 230);
constexpr uint32_t kGreen = MakeColour(0, 150, 0);
constexpr uint32_t kRed = MakeColour(255, 0, 0);
constexpr uint32_t kBlue = MakeColour(0, 0, 255);

bool HasLabel(const Picture& picture, int x, int y, const std::string& text) {
  for (const TextLabel& label : picture.Labels)
    if (label.X == x && label.Y == y && label.Text == text) return true;
  return false;
}

TEST(SpacingHistogramPicture, ColumnsScaledToTheLargestShownCount) {
  SpacingHistogramStore store;
  store.HistogramAll[20] = 10;
  store.HistogramFirstHalf[20] = 4;
  store.HistogramSecondHalf[20] = 6;
  store.HistogramAll[100] = 5;
  store.HistogramAll[5] = 1000;  // below the threshold: greyed, and no part of the scale
  DiagnosticSettings settings;
  settings.HistogramMinDisplayDistance = 13;
  const Picture picture = DrawSpacingHistogram(store, settings);
  const RgbImage& image = picture.Image;
  EXPECT_TRUE(HasLabel(picture, 1, 2, "10"));
  // Grey over bins 0..12: columns 53 .. 55 + 3 * 12, rows 5..300.
  EXPECT_EQ(image.Pixel(53, 300), kGrey);
  EXPECT_EQ(image.Pixel(53, 5), kGrey);
  EXPECT_EQ(image.Pixel(53, 4), kWhite);
  EXPECT_EQ(image.Pixel(52, 100), kWhite);
  EXPECT_EQ(image.Pixel(65, 100), kGrey) << "bin 5 is greyed over";
  EXPECT_EQ(image.Pixel(91, 100), kGrey);
  EXPECT_EQ(image.Pixel(92, 100), kWhite);
  // Bin 20 at column 110: whole roll 300 rows, first half 120, second half 180.
  EXPECT_EQ(image.Pixel(110, 300), kGreen);
  EXPECT_EQ(image.Pixel(110, 1), kGreen);
  EXPECT_EQ(image.Pixel(110, 0), kWhite);
  EXPECT_EQ(image.Pixel(111, 181), kRed);
  EXPECT_EQ(image.Pixel(111, 180), kWhite);
  EXPECT_EQ(image.Pixel(112, 121), kBlue);
  EXPECT_EQ(image.Pixel(112, 120), kWhite);
  EXPECT_EQ(image.Pixel(110, 301), kWhite);
  // Bin 100: half the largest count.
  EXPECT_EQ(image.Pixel(350, 151), kGreen);
  EXPECT_EQ(image.Pixel(350, 150), kWhite);
  EXPECT_TRUE(HasLabel(picture, 50, 305, "0"));
  EXPECT_TRUE(HasLabel(picture, 790, 305, "250"));
  EXPECT_TRUE(HasLabel(picture, 250, 322, "Inter-Event Distance In Thousandths"));
}

TEST(SpacingHistogramPicture, EmptyHistogramsDrawOnlyTheTexts) {
  SpacingHistogramStore store;
  store.HistogramAll[3] = 7;  // hidden by the default threshold of 13
  const DiagnosticSettings settings = [] {
    DiagnosticSettings values;
    values.HistogramMinDisplayDistance = 13;
    return values;
  }();
  const Picture picture = DrawSpacingHistogram(store, settings);
  EXPECT_TRUE(HasLabel(picture, 1, 2, "0"));
  EXPECT_EQ(picture.Labels.size(), 8u);
  for (int y = 0; y < picture.Image.height; ++y)
    for (int x = 0; x < picture.Image.width; ++x) ASSERT_EQ(picture.Image.Pixel(x, y), kWhite) << x << "," << y;
}

TEST(SpacingHistogramPicture, ThresholdsOutsideTheBins) {
  SpacingHistogramStore store;
  store.HistogramAll[1] = 3;
  store.HistogramAll[249] = 6;
  DiagnosticSettings settings;
  settings.HistogramMinDisplayDistance = -5;  // at least 1: bin 1 is shown
  Picture picture = DrawSpacingHistogram(store, settings);
  EXPECT_EQ(picture.Image.Pixel(53, 300), kGreen);
  EXPECT_EQ(picture.Image.Pixel(50 + 3 * 249, 1), kGreen);
  settings.HistogramMinDisplayDistance = 1000;  // past the last bin: nothing to show
  picture = DrawSpacingHistogram(store, settings);
  EXPECT_TRUE(HasLabel(picture, 1, 2, "0"));
  EXPECT_EQ(picture.Image.Pixel(53, 300), kWhite);
}

TEST(SpacingHistogramPicture, WindowHasTitleCanvasAndLegend) {
  SpacingHistogramStore store;
  store.HistogramAll[20] = 1;
  const Picture window = DrawSpacingHistogramWindow(store, DiagnosticSettings(), "Roll 12");
  EXPECT_EQ(window.Labels.front().Text, "Spacing Histogram - Roll 12");
  EXPECT_EQ(window.Labels.back().Text, kSpacingHistogramLegend);
  EXPECT_EQ(std::string(kSpacingHistogramLegend),
            "Blue on Left, Gold on Right = Takeup Spool Accel Too Low ---  Blue on Right, Gold on Left = Takeup "
            "Spool Accel Too High");
  EXPECT_GE(window.Image.width, kHistogramCanvasWidth);
  // The canvas sits below the title: its bin 20 column at (10 + 110, 30 + 300).
  EXPECT_EQ(window.Image.Pixel(120, 330), kGreen);
  EXPECT_EQ(window.Image.Pixel(0, 0), MakeColour(230, 230, 210));
}

}  // namespace
}  // namespace tarvelo
