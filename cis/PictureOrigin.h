#pragma once
// What the scan lines of a picture of a roll (PNG, TIFF, JPEG) were made from: a picture has no
// CIS header, so what a conversion needs to place its pixels (DPI, where the paper lies, which
// runs are holes) is what the picture reader found or measured. Empty for a CIS file.

#include <cstdint>
#include <string>

#include "cis/HolePolarity.h"

namespace tarvelo {

// Where the picture's DPI came from.
enum class PictureDpiSource : uint8_t {
  kNone,      // neither stored nor measured: the preset's DPI is used
  kStored,    // the file's own resolution (PNG pHYs, TIFF resolution, JFIF density)
  kMeasured,  // from the width of the paper in the picture and the roll type's paper width
};

struct PictureOrigin {
  bool IsPicture = false;
  std::string Format;     // "PNG", "TIFF", "JPEG"
  int32_t Width = 0;      // pixels across the roll
  int64_t Rows = 0;       // rows along it
  int BitsPerSample = 8;  // as stored
  int StoredDpi = 0;      // as the file states it (0: none)
  int Dpi = 0;            // the DPI the conversion uses (0: the preset's)
  PictureDpiSource DpiSource = PictureDpiSource::kNone;
  int Threshold = 128;         // brightness 0..255 between hole and paper
  bool HolesLight = true;      // the holes are the light pixels
  bool StartsAtBottom = true;  // line 0 is the picture's bottom row
  // The paper's outer edges, in pixels from column 0: the median over the rows sampled, -1 when
  // no paper was seen.
  int32_t PaperFirstPixel = -1;
  int32_t PaperLastPixel = -1;
  // Brightness of the two classes and how clearly the threshold parts them (0..1: the share of
  // the brightness variance between the classes; below about 0.5 holes and paper are hard to tell).
  double Separation = 0;
  HolePolarity Polarity = HolePolarity::kEvenRuns;  // which runs of its lines are holes
  std::string DpiNote;      // how the DPI was settled, in words, for the messages and keyword items
  std::string TempoSource;  // "ANN file", "file name" or "default"
};

}  // namespace tarvelo
