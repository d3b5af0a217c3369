#pragma once
// Pictures written by the tests, through the same libraries that read them but with every form
// chosen by the test: PNG, TIFF (strips or tiles, orientation tag) and JPEG, from rows of
// brightness the test makes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvelo::testing {

// Brightness 0..255 of row `row`, `width` values.
using PictureRow = std::function<std::vector<uint8_t>(int row)>;

enum class PictureColour { kGrey, kRgb, kPalette };

struct PictureSheet {
  int Width = 0;
  int Rows = 0;
  PictureRow Row;
  PictureColour Colour = PictureColour::kGrey;
  int Bits = 8;              // 8 or 16 (palette: 8)
  double Dpi = 0;            // stored resolution (0: none)
  bool Tiled = false;        // TIFF: 16 x 16 tiles
  int Orientation = 1;       // TIFF orientation tag (1 top-left .. 4 bottom-left)
  int Quality = 92;          // JPEG
  bool Progressive = false;  // JPEG: a progressive file (decoded from the whole picture's coefficients)
  // PNG: the height the header states (0: Rows); only Rows rows are written, the file ends there.
  int64_t StatedRows = 0;
};

// Each returns false when the library refused.
bool WritePng(const std::string& path, const PictureSheet& sheet);
bool WriteTiff(const std::string& path, const PictureSheet& sheet);
bool WriteJpeg(const std::string& path, const PictureSheet& sheet);

}  // namespace tarvelo::testing
