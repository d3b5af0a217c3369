// TIFF pictures through libtiff: strips or tiles, 1, 2, 4, 8 or 16 bits per sample, grey (either
// sense), RGB or palette, any compression libtiff decodes, and the orientation tag as far as it
// keeps rows as rows (a picture turned by a quarter turn is refused: its rows are columns).
#if TARVELO_HAVE_PICTURE_DECODERS
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include <unistd.h>

#include "images/PictureRows.h"
#include "images/RowConversion.h"
#include "support/NativeFile.h"

namespace tarvelo {

namespace {

int OnTiffError(TIFF*, void* user_data, const char* module, const char* format, va_list arguments) {
  auto* message = static_cast<std::string*>(user_data);
  if (!message->empty()) return 1;  // the first error says most
  char text[200];
  std::vsnprintf(text, sizeof text, format, arguments);
  *message = std::string(module ? module : "") + (module ? ": " : "") + text;
  return 1;
}

int OnTiffWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

class TiffRows final : public PictureRows {
 public:
  TiffRows() = default;
  ~TiffRows() override {
    if (tiff_) TIFFClose(tiff_);
    if (options_) TIFFOpenOptionsFree(options_);
  }
  TiffRows(const TiffRows&) = delete;
  TiffRows& operator=(const TiffRows&) = delete;

  Result Open(const std::string& path) {
    path_ = path;
    const int fd = OpenForReading(path);
    if (fd < 0) return Result::IoError("cannot open " + path);
    options_ = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options_, OnTiffError, &error_);
    TIFFOpenOptionsSetWarningHandlerExtR(options_, OnTiffWarning, nullptr);
    // No single allocation of the decoder beyond 256 MB: a damaged header cannot ask for more.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options_, 256 * 1024 * 1024);
    tiff_ = TIFFFdOpenExt(fd, path.c_str(), "rm", options_);
    if (!tiff_) {
      ::close(fd);
      return Fail("its header cannot be read");
    }
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_SAMPLESPERPIXEL, &samples_);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_ORIENTATION, &orientation);
    if (!TIFFGetField(tiff_, TIFFTAG_PHOTOMETRIC, &photometric_)) photometric_ = PHOTOMETRIC_MINISBLACK;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
      return Fail(std::to_string(bits) + " bits per sample (1, 2, 4, 8 or 16 can be read)");
    if (planar != PLANARCONFIG_CONTIG && samples_ > 1) return Fail("its colours are stored in separate planes");
    if (photometric_ == PHOTOMETRIC_RGB && samples_ < 3) return Fail("an RGB picture with fewer than 3 samples");
    if (photometric_ != PHOTOMETRIC_MINISBLACK && photometric_ != PHOTOMETRIC_MINISWHITE &&
        photometric_ != PHOTOMETRIC_RGB && photometric_ != PHOTOMETRIC_PALETTE)
      return Fail("photometric interpretation " + std::to_string(photometric_) + " (grey, RGB or palette can be read)");
    if (photometric_ == PHOTOMETRIC_PALETTE) {
      uint16_t* red = nullptr;
      uint16_t* green = nullptr;
      uint16_t* blue = nullptr;
      if (!TIFFGetField(tiff_, TIFFTAG_COLORMAP, &red, &green, &blue) || bits > 8) return Fail("a damaged palette");
      const size_t entries = size_t{1} << bits;
      palette_.resize(entries);
      for (size_t i = 0; i < entries; ++i) {
        const uint8_t rgb[3] = {static_cast<uint8_t>(red[i] >> 8), static_cast<uint8_t>(green[i] >> 8),
                                static_cast<uint8_t>(blue[i] >> 8)};
        ToBrightness(rgb, 3, 1, &palette_[i]);
      }
    }
    if (orientation >= ORIENTATION_LEFTTOP)
      return Fail("it is turned by a quarter turn (orientation tag " + std::to_string(orientation) +
                  "); turn it upright first");
    bits_ = bits;
    layout_.Format = "TIFF";
    layout_.Width = static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX));
    layout_.Rows = height;
    layout_.BitsPerSample = bits;
    layout_.MirrorColumns = orientation == ORIENTATION_TOPRIGHT || orientation == ORIENTATION_BOTRIGHT;
    layout_.BottomRowFirst = orientation == ORIENTATION_BOTRIGHT || orientation == ORIENTATION_BOTLEFT;
    float resolution = 0;
    uint16_t unit = RESUNIT_INCH;
    if (TIFFGetField(tiff_, TIFFTAG_XRESOLUTION, &resolution)) {
      TIFFGetFieldDefaulted(tiff_, TIFFTAG_RESOLUTIONUNIT, &unit);
      if (unit == RESUNIT_INCH) layout_.StoredDpi = PlausibleStoredDpi(resolution);
      if (unit == RESUNIT_CENTIMETER) layout_.StoredDpi = PlausibleStoredDpi(resolution * 2.54);
    }
    if (width == 0 || height == 0) return Result::Ok();  // the reader refuses an empty picture
    tiled_ = TIFFIsTiled(tiff_) != 0;
    if (tiled_) {
      TIFFGetField(tiff_, TIFFTAG_TILEWIDTH, &tile_width_);
      TIFFGetField(tiff_, TIFFTAG_TILELENGTH, &tile_length_);
      if (tile_width_ == 0 || tile_length_ == 0 || tile_length_ > 4096 || tile_width_ > 4096)
        return Fail("tiles of " + std::to_string(tile_width_) + " x " + std::to_string(tile_length_) + " pixels");
      row_bytes_ = RowBytes(static_cast<uint64_t>(tile_width_) * ((width + tile_width_ - 1) / tile_width_));
      // One row of tiles is held decoded: no more than 64 MB of it.
      if (row_bytes_ * tile_length_ > 64ull * 1024 * 1024)
        return Fail("a row of its tiles takes " + std::to_string(row_bytes_ * tile_length_ / (1024 * 1024)) +
                    " MB (64 MB can be held)");
      tile_.resize(static_cast<size_t>(TIFFTileSize64(tiff_)));
      band_.resize(row_bytes_ * tile_length_);
    } else {
      row_bytes_ = RowBytes(width);
      if (static_cast<uint64_t>(TIFFScanlineSize64(tiff_)) > row_bytes_) return Fail("a damaged row size");
      band_.resize(row_bytes_);
    }
    return Result::Ok();
  }

  Result ReadRow(uint8_t* grey) override {
    if (failed_) return Damaged();
    const uint8_t* row = nullptr;
    if (tiled_) {
      const uint32_t in_band = static_cast<uint32_t>(next_row_ % tile_length_);
      if (in_band == 0 && !ReadBand(static_cast<uint32_t>(next_row_))) return Damaged();
      row = band_.data() + static_cast<size_t>(in_band) * row_bytes_;
    } else {
      if (TIFFReadScanline(tiff_, band_.data(), static_cast<uint32_t>(next_row_), 0) < 0) return Damaged();
      row = band_.data();
    }
    ++next_row_;
    Convert(row, grey);
    return Result::Ok();
  }

 private:
  Result Fail(const std::string& reason) {
    return Result::Corrupt("The TIFF picture " + path_ + " cannot be read: " + reason +
                           (error_.empty() ? "" : " (" + error_ + ")"));
  }
  Result Damaged() {
    failed_ = true;
    return Result::Corrupt("The TIFF picture " + path_ + " is damaged after row " + std::to_string(next_row_) +
                           (error_.empty() ? "" : ": " + error_));
  }
  uint64_t RowBytes(uint64_t pixels) const { return (pixels * samples_ * bits_ + 7) / 8; }

  // One row of tiles across the picture, from row `top`, into band_.
  bool ReadBand(uint32_t top) {
    const uint32_t width = static_cast<uint32_t>(layout_.Width);
    const uint64_t tile_row_bytes = RowBytes(tile_width_);
    for (uint32_t x = 0; x < width; x += tile_width_) {
      if (TIFFReadTile(tiff_, tile_.data(), x, top, 0, 0) < 0) return false;
      const uint64_t column_byte = RowBytes(x);
      for (uint32_t r = 0; r < tile_length_; ++r) {
        std::copy_n(tile_.data() + r * tile_row_bytes, tile_row_bytes, band_.data() + r * row_bytes_ + column_byte);
      }
    }
    return true;
  }

  uint32_t Sample(const uint8_t* row, uint64_t index) const {
    switch (bits_) {
      case 16:
        return reinterpret_cast<const uint16_t*>(row)[index] >> 8;
      case 8:
        return row[index];
      default: {
        const uint64_t bit = index * bits_;
        const uint32_t value = (row[bit / 8] >> (8 - bits_ - bit % 8)) & ((1u << bits_) - 1);
        return photometric_ == PHOTOMETRIC_PALETTE ? value : value * 255 / ((1u << bits_) - 1);
      }
    }
  }

  void Convert(const uint8_t* row, uint8_t* grey) const {
    const int32_t width = layout_.Width;
    for (int32_t x = 0; x < width; ++x) {
      const uint64_t first = static_cast<uint64_t>(x) * samples_;
      uint8_t value = 0;
      if (photometric_ == PHOTOMETRIC_RGB) {
        const uint8_t rgb[3] = {static_cast<uint8_t>(Sample(row, first)), static_cast<uint8_t>(Sample(row, first + 1)),
                                static_cast<uint8_t>(Sample(row, first + 2))};
        ToBrightness(rgb, 3, 1, &value);
      } else if (photometric_ == PHOTOMETRIC_PALETTE) {
        const uint32_t entry = Sample(row, first);
        value = entry < palette_.size() ? palette_[entry] : 0;
      } else {
        value = static_cast<uint8_t>(Sample(row, first));
        if (photometric_ == PHOTOMETRIC_MINISWHITE) value = static_cast<uint8_t>(255 - value);
      }
      grey[x] = value;
    }
  }

  std::string path_;
  std::string error_;
  TIFFOpenOptions* options_ = nullptr;
  TIFF* tiff_ = nullptr;
  uint16_t samples_ = 1;
  uint16_t photometric_ = PHOTOMETRIC_MINISBLACK;
  int bits_ = 8;
  bool tiled_ = false;
  uint32_t tile_width_ = 0;
  uint32_t tile_length_ = 0;
  uint64_t row_bytes_ = 0;
  std::vector<uint8_t> tile_;
  std::vector<uint8_t> band_;
  std::vector<uint8_t> palette_;
  int64_t next_row_ = 0;
  bool failed_ = false;
};

}  // namespace

Result OpenTiffRows(const std::string& path, std::unique_ptr<PictureRows>& rows) {
  auto tiff = std::make_unique<TiffRows>();
  if (Result opened = tiff->Open(path); !opened.ok()) return opened;
  rows = std::move(tiff);
  return Result::Ok();
}

}  // namespace tarvelo
#else
// Built without the decoder: the picture is refused, with the reason.
#include <cstdio>

#include "images/PictureRows.h"

namespace tarvelo {

Result OpenTiffRows(const std::string& path, std::unique_ptr<PictureRows>& /*rows*/) {
  return Result::Invalid("The TIFF picture " + path +
                         " cannot be read: this build of the program reads no TIFF pictures");
}

}  // namespace tarvelo
#endif
