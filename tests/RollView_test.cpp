#include <gtest/gtest.h>

#include <vector>

#include "rolltypes/RollTypeDefinition.h"
#include "view/RollView.h"
#include "view/ZoomLevel.h"

namespace tarvelo {
namespace {

// Fail-Safe strips, as the view shows them once a roll type was applied.
TrackStrips FailSafeStrips() {
  TrackStrips strips = InitialTrackStrips();
  RenderTrackStrips(RollTypeDefinition(), strips);
  return strips;
}

// A scan of `count` lines at `lpi` lines per inch, each with the given transitions.
CisScanData EvenScan(int count, double lpi, const std::vector<int32_t>& transitions) {
  CisScanData scan;
  scan.Run.InterpretedAverageLpi = lpi;
  scan.Run.ScanWidth = 2000;
  for (int line = 0; line < count; ++line) scan.Lines.AppendLine(transitions, 0, {.Position = line / lpi});
  return scan;
}

// 100 DPI, no offset, no stretch: sensor pixel t lies at column 50 + int(0.63 * t).
RollViewSettings Window(int height = 600) {
  RollViewSettings settings;
  settings.ScannerDPI = 100;
  settings.ClientHeight = height;
  return settings;
}

int CountPixels(const RgbImage& image, uint32_t colour) {
  int count = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) count += image.Pixel(x, y) == colour;
  return count;
}

const TextLabel* FindLabel(const Picture& picture, const std::string& text) {
  for (const TextLabel& label : picture.Labels)
    if (label.Text == text) return &label;
  return nullptr;
}

TEST(RollView, EmptyDocumentDrawsBackgroundStripsAndScalesOnly) {
  const TrackStrips strips = FailSafeStrips();
  RollViewSettings settings = Window();
  settings.ClientWidth = kRollCanvasWidth;
  Picture picture;
  DrawRollView(CisScanData(), strips, settings, picture);
  const RgbImage& image = picture.Image;
  ASSERT_EQ(image.width, 1870);
  ASSERT_EQ(image.height, 600);
  // Ruler band: columns 0..43 from row 45; white above it and between it and the strips.
  EXPECT_EQ(image.Pixel(0, 45), kRulerBackground);
  EXPECT_EQ(image.Pixel(43, 599), kRulerBackground);
  EXPECT_EQ(image.Pixel(0, 44), kViewBackground);
  EXPECT_EQ(image.Pixel(44, 100), kViewBackground);
  // Track colours stretched down from row 45, from column 50, as wide as the strip.
  for (int x : {1, 8, 400, 811, 1448}) EXPECT_EQ(image.Pixel(50 + x, 300), strips.TrackColour.Pixel(x, 0)) << x;
  EXPECT_EQ(image.Pixel(50 + 1449, 300), kViewBackground);
  // Ruler strip rows 0..25 then parity strip rows 26..41, up to the upper edge's pixel.
  EXPECT_EQ(image.Pixel(50 + 63, 2), strips.Ruler.Pixel(63, 2));
  EXPECT_EQ(image.Pixel(50 + 63, 2), kRulerTick);
  EXPECT_EQ(image.Pixel(50 + 2, 26), strips.TrackParity.Pixel(2, 0));
  EXPECT_EQ(image.Pixel(50 + 2, 41), strips.TrackParity.Pixel(2, 15));
  EXPECT_EQ(image.Pixel(50 + 810, 10), strips.Ruler.Pixel(810, 10));
  EXPECT_EQ(image.Pixel(50 + 811, 10), kViewBackground) << "scales end at the upper edge";
  EXPECT_EQ(CountPixels(image, kTransitionDot), 0);
  // The ruler's numbers that lie on the shown part: inches 0..12.
  ASSERT_EQ(picture.Labels.size(), 13u);
  EXPECT_EQ(picture.Labels[12].Text, "12");
  EXPECT_EQ(picture.Labels[12].X, 50 + 63 * 12 + 1);
}

TEST(RollView, FootAndInchTicksWithTheirLabels) {
  // 100 lines per inch for 13.5 inches; the client area is high enough to show 13 inches.
  const CisScanData scan = EvenScan(1351, 100.0, {500});
  Picture picture;
  DrawRollView(scan, FailSafeStrips(), Window(1000), picture);
  const RgbImage& image = picture.Image;
  // 12.0 inches at 63 rows per inch: row 45 + 756, a blue foot tick from column 7.
  const int foot_row = 45 + 756;
  EXPECT_EQ(image.Pixel(6, foot_row), kRulerBackground);
  EXPECT_EQ(image.Pixel(7, foot_row), kFootTick);
  EXPECT_EQ(image.Pixel(43, foot_row), kFootTick);
  EXPECT_EQ(image.Pixel(44, foot_row), kViewBackground);
  const TextLabel* feet = FindLabel(picture, "1 feet");
  ASSERT_NE(feet, nullptr);
  EXPECT_EQ(feet->X, 10);
  EXPECT_EQ(feet->Y, foot_row + 1);
  // 13.0 inches: a red inch tick from column 17 and the label 13".
  const int inch_row = 45 + 819;
  EXPECT_EQ(image.Pixel(16, inch_row), kRulerBackground);
  EXPECT_EQ(image.Pixel(17, inch_row), kRulerTick);
  const TextLabel* inch = FindLabel(picture, "13\"");
  ASSERT_NE(inch, nullptr);
  EXPECT_EQ(inch->Y, inch_row + 1);
  // Half and quarter inches, on the first line past them: 12.51 in (row 45 + 788) from column 25,
  // 12.26 in (row 45 + 772) from column 32.
  EXPECT_EQ(image.Pixel(24, 45 + 788), kRulerBackground);
  EXPECT_EQ(image.Pixel(25, 45 + 788), kRulerTick);
  EXPECT_EQ(image.Pixel(31, 45 + 772), kRulerBackground);
  EXPECT_EQ(image.Pixel(32, 45 + 772), kRulerTick);
  EXPECT_EQ(image.Pixel(32, 45 + 771), kRulerBackground);
  // One dot per line: sensor pixel 500 at column 50 + 315.
  EXPECT_EQ(image.Pixel(365, foot_row), kTransitionDot);
  EXPECT_EQ(image.Pixel(365, 45), kTransitionDot);
  EXPECT_EQ(image.Pixel(365, 44), kViewBackground);
}

TEST(RollView, TrackingCorrectionsOffsetAndStretchMoveTheDots) {
  CisScanData scan = EvenScan(1, 100.0, {100});
  scan.Lines.MutableTrackingOffsets()[0] = 0.1;
  RollViewSettings settings = Window();
  Picture picture;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(picture.Image.Pixel(50 + 63, 45), kTransitionDot);
  settings.ShowTrackingCorrections = true;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(picture.Image.Pixel(50 + 63 + 6, 45), kTransitionDot) << "int(63 * 0.1) columns to the right";
  EXPECT_NE(picture.Image.Pixel(50 + 63, 45), kTransitionDot);
  // Offset 0.5 inch: origin 50 - int(-31.5) = 81; stretch 2 halves the pixels per inch.
  settings.ShowTrackingCorrections = false;
  settings.ScannerOffset = 0.5;
  settings.ScannerAlignStretch = 2.0;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(picture.Image.Pixel(81 + 126, 45), kTransitionDot);
  // A DPI of 0 places no dots instead of dividing by zero.
  settings.ScannerDPI = 0;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(CountPixels(picture.Image, kTransitionDot), 0);
}

TEST(RollView, CrossoverDotsOnlyWhenAsked) {
  CisScanData scan = EvenScan(50, 100.0, {10});
  scan.Run.TwinArray = true;
  scan.Run.CrossoverPixel = 1000;
  RollViewSettings settings = Window();
  settings.ShowCrossoverLine = false;
  Picture picture;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(CountPixels(picture.Image, kCrossoverDot), 0);
  settings.ShowCrossoverLine = true;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(CountPixels(picture.Image, kCrossoverDot), 31) << "one per row: 50 lines on 31 rows";
  EXPECT_EQ(picture.Image.Pixel(50 + 630, 45), kCrossoverDot);
  scan.Run.TwinArray = false;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(CountPixels(picture.Image, kCrossoverDot), 0) << "single-array scans have no crossover";
}

TEST(RollView, BottomOfTheCanvasShowsTheLastLines) {
  // 200,000 lines; only the last one has its transition at sensor pixel 1000 (column 680).
  CisScanData scan = EvenScan(200000, 300.0, {0});
  scan.Lines.MutableTransitions(199999)[0] = 1000;
  RollViewSettings settings = Window();
  const DrawnLines bottom = LinesToDraw(200000, 300.0, 63, MaxScrollRow(600), 600);
  EXPECT_EQ(bottom.First, 200000 - 300);
  EXPECT_EQ(bottom.End, 200000);
  Picture picture;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_EQ(CountPixels(picture.Image, kTransitionDot), 600 - 45) << "every row below the scales";
  EXPECT_NE(picture.Image.Pixel(680, 45 + 62), kTransitionDot);
  settings.ScrollY = 99999;  // held to the scroll range
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  // The last line lies int(63 * 199999 / 300) - int(63 * 199700 / 300) = 62 rows below the first drawn.
  EXPECT_EQ(picture.Image.Pixel(680, 45 + 62), kTransitionDot);
  EXPECT_NE(picture.Image.Pixel(50, 45 + 63), kTransitionDot) << "nothing beyond the roll's end";
}

// The ruler's inch and foot labels (all at the ruler's column), top to bottom.
std::vector<int> RulerLabelRows(const Picture& picture) {
  std::vector<int> rows;
  for (const TextLabel& label : picture.Labels)
    if (label.X == 10) rows.push_back(label.Y);
  return rows;
}

TEST(RollView, RulerLabelsNeverRunIntoEachOtherAtAnyZoom) {
  // 60 feet of roll at 100 lines per inch, seen whole at the smallest zoom.
  const CisScanData scan = EvenScan(72000, 100.0, {500});
  for (int level = 1; level <= 9; ++level) {
    RollViewSettings settings = Window(2400);
    settings.ZoomFactor = ZoomLevel(level).Factor();
    Picture picture;
    DrawRollView(scan, FailSafeStrips(), settings, picture);
    const std::vector<int> rows = RulerLabelRows(picture);
    ASSERT_GE(rows.size(), level <= 6 ? 2u : 1u) << "level " << level;
    for (size_t i = 1; i < rows.size(); ++i)
      EXPECT_GE(rows[i] - rows[i - 1], kLabelRowHeight) << "level " << level << " label " << i;
    // Ticks leave rows of the ruler's background between them, never a solid block.
    int tick_rows = 0;
    for (int y = kRollImageTop; y < picture.Image.height; ++y)
      tick_rows += picture.Image.Pixel(40, y) != kRulerBackground;
    EXPECT_LE(tick_rows * kLeastTickSpacing, picture.Image.height) << "level " << level;
  }
  // At zoom 1 (3 rows an inch): every sixth inch labelled, feet as feet.
  RollViewSettings settings = Window(600);
  settings.ZoomFactor = ZoomLevel(1).Factor();
  Picture picture;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  EXPECT_NE(FindLabel(picture, "6\""), nullptr);
  EXPECT_NE(FindLabel(picture, "1 feet"), nullptr);
  EXPECT_EQ(FindLabel(picture, "7\""), nullptr);
  // At the default zoom every inch keeps its label, as before.
  EXPECT_EQ(RulerMarksAt(63).LabelStep, 1);
  EXPECT_TRUE(RulerMarksAt(63).QuarterTicks);
}

TEST(RollView, TheRulerStaysInViewWhenScrolledSideways) {
  const CisScanData scan = EvenScan(1351, 100.0, {500});
  RollViewSettings settings = Window(1000);
  settings.ScrollX = 300;
  Picture picture;
  DrawRollView(scan, FailSafeStrips(), settings, picture);
  const RgbImage& image = picture.Image;
  EXPECT_EQ(image.Pixel(0, 100), kRulerBackground);
  EXPECT_EQ(image.Pixel(7, 45 + 756), kFootTick);  // 12 inches
  const TextLabel* feet = FindLabel(picture, "1 feet");
  ASSERT_NE(feet, nullptr);
  EXPECT_EQ(feet->X, 10);
  // The dot of sensor pixel 500 (canvas column 365) moved with the image.
  EXPECT_EQ(image.Pixel(65, 45 + 756), kTransitionDot);
  // The scales' numbers under the ruler are left out; the others moved with the image.
  for (const TextLabel& label : picture.Labels) EXPECT_TRUE(label.X == 10 || label.X >= 44) << label.Text;
  EXPECT_NE(FindLabel(picture, "12"), nullptr);
}

TEST(RollViewGeometry, LinesToDrawAndScrolling) {
  // A short roll is shown from its start; the zoom decides how many lines fit.
  EXPECT_EQ(LinesToDraw(300, 100.0, 63, 2000, 600).First, 0);
  EXPECT_EQ(LinesToDraw(10000, 100.0, 63, 0, 600).End, 952);  // 600 / 63 inches
  EXPECT_EQ(LinesToDraw(10000, 100.0, 3, 0, 600).End, 10000);
  // At the largest zoom the area shows part of an inch, not nothing.
  EXPECT_EQ(LinesToDraw(10000, 100.0, RowsPerInch(16.0), 0, 600).End, 59);
  EXPECT_EQ(RowsPerInch(0.0625), 3);
  EXPECT_EQ(RowsPerInch(0.0), 1);
  // An area as high as the canvas cannot scroll and starts at line 0.
  EXPECT_EQ(LinesToDraw(100000, 100.0, 63, 0, 5000).First, 0);
  EXPECT_EQ(LinesToDraw(100000, 0.0, 63, 0, 600).End, 0) << "no line rate, no lines";
  // Scrolling to a line lands on it or just before it.
  const int scroll = ScrollRowForLine(100000, 600, 36000);
  const int first = LinesToDraw(100000, 100.0, 63, scroll, 600).First;
  EXPECT_LE(first, 36000);
  EXPECT_GT(LinesToDraw(100000, 100.0, 63, scroll + 1, 600).First, 36000);
  EXPECT_EQ(ScrollRowForLine(100000, 600, 0), 0);
  EXPECT_EQ(ScrollRowForLine(100000, 600, 100000), MaxScrollRow(600));
  EXPECT_EQ(FirstLineAtInch(EvenScan(500, 100.0, {}).Lines, 2.0), 200);
  EXPECT_EQ(FirstLineAtInch(EvenScan(500, 100.0, {}).Lines, 9.0), 500);
}

// A marked hole is a rectangle in its own colour over its rows and columns, under the dots;
// one beyond the drawn lines is not drawn, and the tracking corrections move it with the dots.
TEST(RollView, MarkedHolesAreFilledInTheirColourWhereTheScanHasThem) {
  const TrackStrips strips = FailSafeStrips();
  // 10 inches at 100 lines per inch; a hole from pixel 200 to 230 on every line.
  CisScanData scan = EvenScan(1000, 100, {200, 230});
  const std::vector<MarkedHole> holes = {{2.0, 2.5, 200, 230, 200}, {40.0, 41.0, 200, 230, 999}};
  RollViewSettings settings = Window();
  settings.ZoomFactor = 1.0;  // 63 rows per inch
  settings.MarkedHoles = holes;
  Picture picture;
  DrawRollView(scan, strips, settings, picture);
  const RgbImage& image = picture.Image;
  // Rows 45 + 63 * 2 .. 45 + 63 * 2.5, columns 50 + 0.63 * 200 .. 50 + 0.63 * 230, and two
  // pixels around.
  EXPECT_EQ(image.Pixel(50 + 135, 45 + 140), kMarkedHoleColour);
  EXPECT_NE(image.Pixel(50 + 135, 45 + 120), kMarkedHoleColour);  // above its start
  EXPECT_NE(image.Pixel(50 + 135, 45 + 165), kMarkedHoleColour);  // below its end
  EXPECT_NE(image.Pixel(50 + 120, 45 + 140), kMarkedHoleColour);  // left of it
  EXPECT_EQ(image.Pixel(50 + 126, 45 + 140), kTransitionDot);     // the hole's edge drawn over it
  // About 22 columns by 36 rows, less the dots of the hole's left edge; the second hole lies
  // beyond the roll's end and is not drawn.
  const int marked = CountPixels(image, kMarkedHoleColour);
  EXPECT_GT(marked, 20 * 33);
  EXPECT_LT(marked, 23 * 37);

  // Shown with the tracking corrections: moved as far as the hole's first line was corrected.
  scan.Lines.MutableTrackingOffsets()[200] = 0.5;  // half an inch: 31 columns
  settings.ShowTrackingCorrections = true;
  DrawRollView(scan, strips, settings, picture);
  EXPECT_EQ(picture.Image.Pixel(50 + 135 + 31, 45 + 140), kMarkedHoleColour);
  EXPECT_NE(picture.Image.Pixel(50 + 130, 45 + 140), kMarkedHoleColour);

  settings.MarkedHoles = {};
  DrawRollView(scan, strips, settings, picture);
  EXPECT_EQ(CountPixels(picture.Image, kMarkedHoleColour), 0);
}

}  // namespace
}  // namespace tarvelo
