#include "view/SpacingHistogramPicture.h"

#include <algorithm>
#include <cstdint>

namespace tarvelo {

namespace {

constexpr uint32_t kCanvasBackground = MakeColour(255, 255, 255);
constexpr uint32_t kSuppressedBin = MakeColour(230, 230, 230);
constexpr uint32_t kWholeRoll = MakeColour(0, 150, 0);
constexpr uint32_t kFirstHalf = MakeColour(255, 0, 0);
constexpr uint32_t kSecondHalf = MakeColour(0, 0, 255);
constexpr uint32_t kText = MakeColour(0, 0, 0);
constexpr uint32_t kDialogBackground = MakeColour(230, 230, 210);

constexpr int kBaseRow = 300;      // the columns rise from this row
constexpr int kFullHeight = 300;   // rows of the largest count
constexpr int kSuppressedTop = 4;  // grey columns reach up to (not including) this row
constexpr int kFirstColumn = 50;   // column of distance 0
constexpr int kAxisRow = 305;

// A column rising from the base row over `rows` pixels.
void Column(RgbImage& image, int x, long long rows, uint32_t colour) {
  image.VerticalLine(x, kBaseRow + 1 - static_cast<int>(std::min<long long>(rows, kBaseRow + 1)), kBaseRow + 1, colour);
}

}  // namespace

std::string SpacingHistogramTitle(std::string_view file_name) {
  return "Spacing Histogram - " + std::string(file_name);
}

Picture DrawSpacingHistogram(const SpacingHistogramStore& store, const DiagnosticSettings& settings) {
  Picture picture;
  RgbImage& image = picture.Image;
  image = RgbImage(kHistogramCanvasWidth, kHistogramCanvasHeight, kCanvasBackground);
  constexpr int kLast = SpacingHistogramStore::kLastBin;
  const int first = std::max(settings.HistogramMinDisplayDistance, 1);
  uint32_t largest = 0;
  for (int bin = first; bin <= kLast; ++bin) largest = std::max(largest, store.HistogramAll[bin]);
  picture.Labels.push_back({1, 2, std::to_string(largest), kText});

  if (largest > 0) {
    // The distances below the threshold, greyed (first <= kLast here).
    for (int bin = 0; bin < first; ++bin)
      for (int x = 53 + 3 * bin; x <= 55 + 3 * bin; ++x)
        image.VerticalLine(x, kSuppressedTop + 1, kBaseRow + 1, kSuppressedBin);
    // Counts up to 2^32 - 1: scaled in 64 bits.
    auto rows = [largest](uint32_t count) { return static_cast<long long>(count) * kFullHeight / largest; };
    for (int bin = first; bin <= kLast; ++bin) {
      const int x = kFirstColumn + 3 * bin;
      Column(image, x, rows(store.HistogramAll[bin]), kWholeRoll);
      Column(image, x + 1, rows(store.HistogramFirstHalf[bin]), kFirstHalf);
      Column(image, x + 2, rows(store.HistogramSecondHalf[bin]), kSecondHalf);
    }
  }
  for (const auto& [x, text] :
       {std::pair{50, "0"}, {195, "50"}, {340, "100"}, {490, "150"}, {640, "200"}, {790, "250"}})
    picture.Labels.push_back({x, kAxisRow, text, kText});
  picture.Labels.push_back({250, 322, "Inter-Event Distance In Thousandths", kText});
  return picture;
}

Picture DrawSpacingHistogramWindow(const SpacingHistogramStore& store, const DiagnosticSettings& settings,
                                   std::string_view file_name) {
  constexpr int kMargin = 10;
  constexpr int kCanvasTop = 30;
  constexpr int kLegendTop = kCanvasTop + kHistogramCanvasHeight + 10;
  const Picture canvas = DrawSpacingHistogram(store, settings);
  Picture window;
  window.Image = RgbImage(kHistogramCanvasWidth + 2 * kMargin, kLegendTop + 30, kDialogBackground);
  window.Image.CopyFrom(canvas.Image, 0, 0, canvas.Image.width, canvas.Image.height, kMargin, kCanvasTop);
  window.Labels.push_back({kMargin, 8, SpacingHistogramTitle(file_name), kText});
  for (const TextLabel& label : canvas.Labels)
    window.Labels.push_back({label.X + kMargin, label.Y + kCanvasTop, label.Text, label.Colour});
  window.Labels.push_back({kMargin, kLegendTop, kSpacingHistogramLegend, kText});
  return window;
}

}  // namespace tarvelo
