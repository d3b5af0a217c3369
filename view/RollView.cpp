#include "view/RollView.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace tarvelo {

namespace {

// Canvas places of the view's parts. Rectangles and lines run from their first column or row
// up to, not including, the last one named, as the strips' lines do.
constexpr int kRulerBandRight = 44;     // ruler background: columns 0 .. 43
constexpr int kRulerBandBottom = 4999;  // rows kRollImageTop .. 4998
constexpr int kImageLeft = 50;          // the strips start here; sensor pixel 0 at zero offset
constexpr int kTrackColourRows = 8;     // top rows of the colour strip stretched over the canvas
constexpr int kRulerRows = 31;          // rows of the ruler strip shown at the top
constexpr int kParityTop = 26;          // the parity strip's row below the top
constexpr int kParityRows = 16;
constexpr int kQuarterTickLeft = 32;
constexpr int kHalfTickLeft = 25;
constexpr int kInchTickLeft = 17;
constexpr int kFootTickLeft = 7;
constexpr int kLabelLeft = 10;
constexpr int kLabelReach = 24;
constexpr long long kMarkMargin = 2;  // pixels a hole's mark reaches beyond the hole  // a label whose top lies less
                                      // than this above the area still shows

// A column or row far outside any raster: what out-of-range values are held to, so that
// absurd settings or positions draw nothing instead of overflowing.
constexpr long long kFarAway = 1LL << 40;

long long ClampedInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value <= -static_cast<double>(kFarAway)) return -kFarAway;
  if (value >= static_cast<double>(kFarAway)) return kFarAway;
  return static_cast<long long>(value);
}

// The device columns of sensor pixels: x0 + int(63 * t / ppi), x0 = 50 - int(-63 * offset),
// ppi = DPI / stretch; kept in a table for the pixels of the scan width.
class SensorColumns {
 public:
  SensorColumns(const RollViewSettings& settings, int scan_width, int scroll_x)
      : pixels_per_inch_(settings.ScannerDPI / settings.ScannerAlignStretch),
        origin_(kImageLeft - ClampedInteger(-kViewPixelsPerInch * settings.ScannerOffset) - scroll_x) {
    // The widest scan a header can state (32767 pixels, doubled twice); pixels beyond it, from
    // damaged lines, are computed one by one.
    const int table_size = std::clamp(scan_width, 0, 4 * 32767) + 1;
    if (!Drawable()) return;
    table_.resize(static_cast<size_t>(table_size));
    for (int pixel = 0; pixel < table_size; ++pixel) table_[static_cast<size_t>(pixel)] = Compute(pixel);
  }

  // A DPI of zero (or no number) places no dots.
  bool Drawable() const { return std::isfinite(kViewPixelsPerInch / pixels_per_inch_); }

  long long Column(int32_t pixel) const {
    return static_cast<uint32_t>(pixel) < table_.size() ? table_[static_cast<size_t>(pixel)] : Compute(pixel);
  }

 private:
  long long Compute(int32_t pixel) const {
    return origin_ + ClampedInteger(kViewPixelsPerInch * pixel / pixels_per_inch_);
  }

  double pixels_per_inch_;
  long long origin_;
  std::vector<long long> table_;
};

// A pixel number held to what a scan line can hold.
int32_t ClampedPixel(double pixel) {
  if (std::isnan(pixel)) return 0;
  return static_cast<int32_t>(std::clamp(pixel, -2.0e9, 2.0e9));
}

void DrawBackground(const TrackStrips& strips, int scroll_x, int scroll_y, RgbImage& image) {
  if (image.width > 0 && image.height > 0) std::memset(image.pixels.data(), 0xFF, image.pixels.size());
  static_assert(kViewBackground == MakeColour(255, 255, 255), "the fill above writes white");
  image.FillRect(-scroll_x, kRollImageTop - scroll_y, kRulerBandRight, kRulerBandBottom - kRollImageTop,
                 kRulerBackground);
  // The top rows of the track colour strip stretched over the canvas height: the tracks'
  // colours become vertical bands behind the scan.
  const RgbImage& colours = strips.TrackColour;
  for (int row = 0; row < image.height; ++row) {
    const long long from_top = static_cast<long long>(row) + scroll_y - kRollImageTop;
    if (from_top < 0 || from_top >= kRollCanvasHeight) continue;
    const int source_row = static_cast<int>(from_top * kTrackColourRows / kRollCanvasHeight);
    image.CopyFrom(colours, 0, source_row, colours.width, 1, kImageLeft - scroll_x, row);
  }
}

// The ruler and parity strips at the top of the client area, as wide as the roll's upper edge.
void DrawScales(const TrackStrips& strips, int scroll_x, Picture& picture) {
  const int shown_width = strips.UpperEdgeStripPixel;
  picture.Image.CopyFrom(strips.Ruler, 0, 0, shown_width, kRulerRows, kImageLeft - scroll_x, 0);
  picture.Image.CopyFrom(strips.TrackParity, 0, 0, shown_width, kParityRows, kImageLeft - scroll_x, kParityTop);
  for (const RulerLabel& label : strips.RulerLabels)
    if (label.x < shown_width && label.y < kRulerRows)
      picture.Labels.push_back({kImageLeft - scroll_x + label.x, label.y, label.text, MakeColour(0, 0, 0)});
}

// One tick of the ruler: its row, where it starts and its colour.
struct RulerTick {
  long long Row;
  int Left;
  uint32_t Colour;
};

void DrawTick(RgbImage& image, const RulerTick& tick) {
  if (tick.Row >= 0 && tick.Row < image.height)
    image.HorizontalLine(tick.Left, kRulerBandRight, static_cast<int>(tick.Row), tick.Colour);
}

// The marked holes that lie in the drawn lines, as filled rectangles over their rows and columns
// and kMarkMargin beyond (a hole is only a few pixels at the smallest zooms), moved as the dots
// are when the tracking corrections are shown.
void DrawMarkedHoles(const CisScanData& scan, const RollViewSettings& settings, const SensorColumns& columns,
                     long long top, int rows_per_inch, const DrawnLines& drawn, RgbImage& image) {
  const ScanLineArray& lines = scan.Lines;
  const double first_inch = lines.Position(drawn.First);
  const double end_inch = lines.Position(drawn.End - 1);
  for (const MarkedHole& hole : settings.MarkedHoles) {
    if (hole.Start > end_inch) break;
    if (hole.End < first_inch) continue;
    const long long shift = settings.ShowTrackingCorrections && hole.FirstLine >= 0 && hole.FirstLine < lines.Size()
                                ? ClampedInteger(kViewPixelsPerInch * lines.TrackingOffset(hole.FirstLine))
                                : 0;
    const long long row = top + ClampedInteger(rows_per_inch * hole.Start);
    const long long rows = std::max(1LL, top + ClampedInteger(rows_per_inch * hole.End) - row);
    const long long left = columns.Column(ClampedPixel(std::floor(hole.Left))) + shift;
    const long long right = columns.Column(ClampedPixel(std::ceil(hole.Right))) + shift;
    const long long from = std::clamp(left - kMarkMargin, 0LL, static_cast<long long>(image.width));
    const long long to = std::clamp(std::max(right, left + 1) + kMarkMargin, 0LL, static_cast<long long>(image.width));
    const long long first_row = std::clamp(row - kMarkMargin, 0LL, static_cast<long long>(image.height));
    const long long end_row = std::clamp(row + rows + kMarkMargin, 0LL, static_cast<long long>(image.height));
    if (to > from && end_row > first_row)
      image.FillRect(static_cast<int>(from), static_cast<int>(first_row), static_cast<int>(to - from),
                     static_cast<int>(end_row - first_row), kMarkedHoleColour);
  }
}

// One dot per transition of each drawn line, and the ruler's ticks and labels where the
// lines pass quarter, half and whole inches (as many of them as the zoom leaves room for).
// The ruler's ticks are drawn at once when the view is not scrolled sideways; otherwise they
// are only listed in `ticks`, for KeepRulerInView to draw over the image.
void DrawLines(const CisScanData& scan, const RollViewSettings& settings, int scroll_x, int scroll_y, Picture& picture,
               std::vector<RulerTick>& ticks) {
  RgbImage& image = picture.Image;
  const ScanLineArray& lines = scan.Lines;
  const int rows_per_inch = RowsPerInch(settings.ZoomFactor);
  const DrawnLines drawn =
      LinesToDraw(lines.Size(), scan.Run.InterpretedAverageLpi, rows_per_inch, scroll_y, image.height);
  if (drawn.End <= drawn.First) return;
  const SensorColumns columns(settings, scan.Run.ScanWidth, scroll_x);
  const bool crossover = scan.Run.TwinArray && settings.ShowCrossoverLine && columns.Drawable();
  const long long crossover_column = columns.Column(scan.Run.CrossoverPixel);
  const long long zoom = rows_per_inch;
  const RulerMarks marks = RulerMarksAt(rows_per_inch);
  auto row_of = [&](int line) { return ClampedInteger(static_cast<double>(rows_per_inch) * lines.Position(line)); };
  auto tick = [&](long long row, int left, uint32_t colour) {
    if (scroll_x == 0) {
      DrawTick(image, {row, left, colour});
    } else {
      ticks.push_back({row, left, colour});
    }
  };

  // Rows are counted from the top of the client area: the first drawn line lies at row 45.
  long long previous = 0, top = kRollImageTop;
  if (drawn.First > 0) {
    previous = row_of(drawn.First);
    top = kRollImageTop - previous;
  }
  if (columns.Drawable()) DrawMarkedHoles(scan, settings, columns, top, rows_per_inch, drawn, image);
  const auto width = static_cast<unsigned long long>(image.width);
  for (int line = drawn.First; line < drawn.End; ++line) {
    const long long p = row_of(line);
    const long long row = top + p;
    if (marks.QuarterTicks && (4 * p) % zoom < (4 * previous) % zoom) tick(row, kQuarterTickLeft, kRulerTick);
    if (marks.HalfTicks && (2 * p) % zoom < (2 * previous) % zoom) tick(row, kHalfTickLeft, kRulerTick);
    if (p % zoom < previous % zoom) {
      // A whole inch was passed: every twelfth is a foot; labels every LabelStep inches.
      const long long inches = ClampedInteger(lines.Position(line));
      const bool foot = inches % 12 == 0;
      const bool labelled = inches % marks.LabelStep == 0;
      if (foot) {
        tick(row, kFootTickLeft, kFootTick);
      } else if (marks.InchTicks || labelled) {
        tick(row, kInchTickLeft, kRulerTick);
      }
      if (labelled && row + 1 > -kLabelReach && row + 1 < image.height)
        picture.Labels.push_back({kLabelLeft, static_cast<int>(row + 1),
                                  foot ? std::to_string(inches / 12) + " feet" : std::to_string(inches) + "\"",
                                  MakeColour(0, 0, 0)});
    }
    previous = p;
    if (row < 0 || row >= image.height || !columns.Drawable()) continue;

    const long long shift =
        settings.ShowTrackingCorrections ? ClampedInteger(kViewPixelsPerInch * lines.TrackingOffset(line)) : 0;
    uint8_t* pixels = image.Row(static_cast<int>(row));
    auto dot = [&](long long column, uint32_t colour) {
      if (static_cast<unsigned long long>(column) >= width) return;
      uint8_t* at = pixels + column * 3;
      at[0] = static_cast<uint8_t>(ColourRed(colour));
      at[1] = static_cast<uint8_t>(ColourGreen(colour));
      at[2] = static_cast<uint8_t>(ColourBlue(colour));
    };
    for (const int32_t transition : lines.Transitions(line)) dot(columns.Column(transition) + shift, kTransitionDot);
    if (crossover) dot(crossover_column + shift, kCrossoverDot);
  }
}

// Scrolled sideways, the ruler stays at the left of the client area, over the image: the scales'
// numbers it will cover are left out, then, once the lines are drawn, its band and ticks.
void DropLabelsUnderTheRuler(Picture& picture) {
  std::erase_if(picture.Labels, [](const TextLabel& label) { return label.X < kRulerBandRight; });
}

void DrawRulerOverTheImage(int scroll_y, const std::vector<RulerTick>& ticks, RgbImage& image) {
  image.FillRect(0, 0, kRulerBandRight, image.height, kViewBackground);
  image.FillRect(0, kRollImageTop - scroll_y, kRulerBandRight, kRulerBandBottom - kRollImageTop, kRulerBackground);
  for (const RulerTick& tick : ticks) DrawTick(image, tick);
}

}  // namespace

int DrawnCanvasWidth(const CisScanData& scan, const TrackStrips& strips, const RollViewSettings& settings) {
  constexpr int kMargin = 10;
  // The track colours end at the roll's upper edge (strips never rendered: their whole width).
  long long right =
      kImageLeft + (strips.UpperEdgeStripPixel > 0 ? strips.UpperEdgeStripPixel : strips.TrackColour.width);
  const SensorColumns columns(settings, 0, 0);
  if (columns.Drawable()) right = std::max(right, columns.Column(std::max(scan.Run.ScanWidth, 0)));
  return static_cast<int>(std::clamp<long long>(right + kMargin, kRulerBandRight + kMargin, kRollCanvasWidth));
}

void DrawRollView(const CisScanData& scan, const TrackStrips& strips, const RollViewSettings& settings,
                  Picture& picture) {
  const int width = std::max(settings.ClientWidth, 0);
  const int height = std::max(settings.ClientHeight, 0);
  const int scroll_x = std::clamp(settings.ScrollX, 0, std::max(kRollCanvasWidth - width, 0));
  const int scroll_y = std::clamp(settings.ScrollY, 0, MaxScrollRow(height));
  if (picture.Image.width != width || picture.Image.height != height)
    picture.Image = RgbImage(width, height, kViewBackground);
  picture.Labels.clear();
  DrawBackground(strips, scroll_x, scroll_y, picture.Image);
  DrawScales(strips, scroll_x, picture);
  if (scroll_x > 0) DropLabelsUnderTheRuler(picture);
  std::vector<RulerTick> ticks;
  DrawLines(scan, settings, scroll_x, scroll_y, picture, ticks);
  if (scroll_x > 0) DrawRulerOverTheImage(scroll_y, ticks, picture.Image);
}

}  // namespace tarvelo
