#pragma once
// A plain RGB raster: width x height pixels, three bytes (red, green, blue) per pixel, rows
// from the top. Drawing operations clip to the image, so callers may pass any coordinates.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvelo {

// Colour value red + green * 256 + blue * 65536.
constexpr uint32_t MakeColour(int red, int green, int blue) {
  return static_cast<uint32_t>(red & 0xFF) + static_cast<uint32_t>(green & 0xFF) * 256u +
         static_cast<uint32_t>(blue & 0xFF) * 65536u;
}
constexpr int ColourRed(uint32_t colour) { return static_cast<int>(colour & 0xFF); }
constexpr int ColourGreen(uint32_t colour) { return static_cast<int>((colour >> 8) & 0xFF); }
constexpr int ColourBlue(uint32_t colour) { return static_cast<int>((colour >> 16) & 0xFF); }

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 3 bytes

  RgbImage() = default;
  // A width x height image filled with `colour` (negative sizes give an empty image).
  RgbImage(int w, int h, uint32_t colour);

  // The colour at (x, y); 0 outside the image.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t colour);
  void Fill(uint32_t colour);
  // Fills the rectangle of `w` x `h` pixels whose top-left corner is (x, y); nothing for
  // w <= 0 or h <= 0.
  void FillRect(int x, int y, int w, int h, uint32_t colour);
  // A vertical line at x from y_from up to but not including y_to.
  void VerticalLine(int x, int y_from, int y_to, uint32_t colour);
  // A horizontal line in row y from x_from up to but not including x_to.
  void HorizontalLine(int x_from, int x_to, int y, uint32_t colour);
  // Copies the `w` x `h` pixels of `source` whose top-left corner is (source_x, source_y) to
  // (x, y) in this image, clipped to both images. `source` is another image.
  void CopyFrom(const RgbImage& source, int source_x, int source_y, int w, int h, int x, int y);

  // Direct access for drawing loops: the three bytes of pixel (0, y); the caller keeps
  // 0 <= y < height and stays inside the row's width * 3 bytes.
  uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3; }
  const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3; }
};

// The image as a binary portable pixmap (PPM "P6") file.
std::string EncodePpm(const RgbImage& image);

}  // namespace tarvelo
