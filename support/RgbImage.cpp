#include "support/RgbImage.h"

#include <algorithm>

namespace tarvelo {

RgbImage::RgbImage(int w, int h, uint32_t colour) : width(std::max(w, 0)), height(std::max(h, 0)) {
  pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  Fill(colour);
}

uint32_t RgbImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
  return MakeColour(pixels[at], pixels[at + 1], pixels[at + 2]);
}

void RgbImage::SetPixel(int x, int y, uint32_t colour) { FillRect(x, y, 1, 1, colour); }

void RgbImage::Fill(uint32_t colour) { FillRect(0, 0, width, height, colour); }

void RgbImage::FillRect(int x, int y, int w, int h, uint32_t colour) {
  if (w <= 0 || h <= 0) return;
  // Clip in 64 bits: callers may pass coordinates near the int range.
  const long long x0 = std::max<long long>(x, 0), y0 = std::max<long long>(y, 0);
  const long long x1 = std::min<long long>(static_cast<long long>(x) + w, width);
  const long long y1 = std::min<long long>(static_cast<long long>(y) + h, height);
  const auto red = static_cast<uint8_t>(ColourRed(colour));
  const auto green = static_cast<uint8_t>(ColourGreen(colour));
  const auto blue = static_cast<uint8_t>(ColourBlue(colour));
  for (long long row = y0; row < y1; ++row) {
    uint8_t* p = pixels.data() + (static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(x0)) * 3;
    for (long long column = x0; column < x1; ++column) {
      *p++ = red;
      *p++ = green;
      *p++ = blue;
    }
  }
}

void RgbImage::VerticalLine(int x, int y_from, int y_to, uint32_t colour) {
  FillRect(x, y_from, 1, y_to - y_from, colour);
}

void RgbImage::HorizontalLine(int x_from, int x_to, int y, uint32_t colour) {
  FillRect(x_from, y, x_to - x_from, 1, colour);
}

void RgbImage::CopyFrom(const RgbImage& source, int source_x, int source_y, int w, int h, int x, int y) {
  // Clip in 64 bits against the source, then against this image.
  long long from_x = source_x, from_y = source_y, to_x = x, to_y = y, columns = w, rows = h;
  auto clip_start = [&](long long& start, long long& other_start, long long& count) {
    if (start < 0) {
      count += start;
      other_start -= start;
      start = 0;
    }
  };
  clip_start(from_x, to_x, columns);
  clip_start(from_y, to_y, rows);
  clip_start(to_x, from_x, columns);
  clip_start(to_y, from_y, rows);
  columns = std::min({columns, source.width - from_x, width - to_x});
  rows = std::min({rows, source.height - from_y, height - to_y});
  if (columns <= 0 || rows <= 0) return;
  for (long long row = 0; row < rows; ++row) {
    const uint8_t* from = source.Row(static_cast<int>(from_y + row)) + from_x * 3;
    std::copy(from, from + columns * 3, Row(static_cast<int>(to_y + row)) + to_x * 3);
  }
}

std::string EncodePpm(const RgbImage& image) {
  std::string out = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
  out.append(reinterpret_cast<const char*>(image.pixels.data()), image.pixels.size());
  return out;
}

}  // namespace tarvelo
