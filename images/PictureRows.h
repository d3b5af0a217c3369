#pragma once
// A picture file read one row at a time, each row as brightness (0 black .. 255 white), so that
// a picture of any length is never held decoded: the PNG, TIFF and JPEG decoders behind it keep
// at most one row (a TIFF of tiles: one row of tiles).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "support/Result.h"

namespace tarvelo {

struct PictureLayout {
  std::string Format;           // "PNG", "TIFF", "JPEG"
  int32_t Width = 0;            // pixels per row
  int64_t Rows = 0;             // rows, as the file states them
  int BitsPerSample = 8;        // as stored (a 16-bit picture is read as its high 8 bits)
  int StoredDpi = 0;            // the resolution the file states across, in pixels per inch (0: none)
  bool MirrorColumns = false;   // the file's column 0 is the picture's right-hand side (TIFF orientation)
  bool BottomRowFirst = false;  // the file's first row is the picture's bottom row (TIFF orientation)
};

class PictureRows {
 public:
  virtual ~PictureRows() = default;
  const PictureLayout& Layout() const { return layout_; }
  // The next row in file order into `grey` (Layout().Width values). kCorrupt naming the row
  // and the decoder's reason when the file is damaged or ends early; later calls fail too.
  [[nodiscard]] virtual Result ReadRow(uint8_t* grey) = 0;

 protected:
  PictureLayout layout_;
};

// The picture formats by the first bytes of a file.
enum class PictureFormat { kUnknown, kPng, kTiff, kJpeg };
PictureFormat SniffPictureFormat(const uint8_t* head, size_t size);

// Opens `path` and reads its header. kNotFound / kIoError when the file cannot be read, kCorrupt
// when it is none of the formats or its header is damaged or unusable (no rows, a rotated TIFF).
[[nodiscard]] Result OpenPictureRows(const std::string& path, std::unique_ptr<PictureRows>& rows);

// The decoders, each for a file already open (the stream is taken over and closed).
[[nodiscard]] Result OpenPngRows(std::FILE* file, const std::string& path, std::unique_ptr<PictureRows>& rows);
[[nodiscard]] Result OpenTiffRows(const std::string& path, std::unique_ptr<PictureRows>& rows);
[[nodiscard]] Result OpenJpegRows(std::FILE* file, const std::string& path, std::unique_ptr<PictureRows>& rows);

// A stored resolution as a DPI, 0 when it is no plausible scan resolution (below 30 or above 4800).
int PlausibleStoredDpi(double pixels_per_inch);

}  // namespace tarvelo
