// PNG pictures through libpng: every bit depth and colour type, converted row by row to 8-bit
// brightness. libpng reports errors by a long jump: each call into it is made from a function
// that holds nothing but plain values, so the jump skips no destructor.
#if TARVELO_HAVE_PICTURE_DECODERS
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "images/PictureRows.h"
#include "images/RowConversion.h"

namespace tarvelo {

namespace {

struct PngState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::FILE* file = nullptr;
  char error[200] = {};
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngState*>(png_get_error_ptr(png));
  std::snprintf(state->error, sizeof state->error, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// The header and the transformations to 8-bit grey or RGB; false with state.error set on failure.
bool ReadPngHeader(PngState& state, png_uint_32& width, png_uint_32& height, int& bit_depth, int& channels,
                   png_uint_32& x_pixels_per_metre, int& unit) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, state.file);
  // Roll pictures are long: allow a million rows and columns; the reader limits what it keeps.
  png_set_user_limits(state.png, 1000000, 1000000000);
  png_read_info(state.png, state.info);
  int colour = 0;
  int interlace = 0;
  png_get_IHDR(state.png, state.info, &width, &height, &bit_depth, &colour, &interlace, nullptr, nullptr);
  if (interlace != PNG_INTERLACE_NONE) {
    std::snprintf(state.error, sizeof state.error, "interlaced PNG pictures cannot be read row by row");
    return false;
  }
  png_uint_32 y_pixels_per_metre = 0;
  if (!png_get_pHYs(state.png, state.info, &x_pixels_per_metre, &y_pixels_per_metre, &unit)) {
    x_pixels_per_metre = 0;
    unit = PNG_RESOLUTION_UNKNOWN;
  }
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(state.png);
  if (colour == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(state.png);
  if (bit_depth == 16) png_set_strip_16(state.png);
  if (colour & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(state.png);
  png_read_update_info(state.png, state.info);
  channels = png_get_channels(state.png, state.info);
  return true;
}

bool ReadPngRow(PngState& state, png_bytep row) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_read_row(state.png, row, nullptr);
  return true;
}

class PngRows final : public PictureRows {
 public:
  explicit PngRows(std::FILE* file) { state_.file = file; }
  ~PngRows() override {
    if (state_.png) png_destroy_read_struct(&state_.png, state_.info ? &state_.info : nullptr, nullptr);
    if (state_.file) std::fclose(state_.file);
  }
  PngRows(const PngRows&) = delete;
  PngRows& operator=(const PngRows&) = delete;

  Result Open(const std::string& path) {
    path_ = path;
    state_.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state_, OnPngError, OnPngWarning);
    if (state_.png) state_.info = png_create_info_struct(state_.png);
    if (!state_.png || !state_.info) return Result::IoError("cannot read " + path + ": out of memory");
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    png_uint_32 x_pixels_per_metre = 0;
    int unit = 0;
    int bit_depth = 8;
    if (!ReadPngHeader(state_, width, height, bit_depth, channels_, x_pixels_per_metre, unit))
      return Result::Corrupt("The PNG picture " + path + " cannot be read: " + state_.error);
    layout_.Format = "PNG";
    layout_.Width = static_cast<int32_t>(width);
    layout_.Rows = height;
    layout_.BitsPerSample = bit_depth;
    if (unit == PNG_RESOLUTION_METER) layout_.StoredDpi = PlausibleStoredDpi(x_pixels_per_metre * 0.0254);
    row_.resize(static_cast<size_t>(width) * static_cast<size_t>(channels_));
    return Result::Ok();
  }

  Result ReadRow(uint8_t* grey) override {
    if (failed_ || !ReadPngRow(state_, row_.data())) {
      failed_ = true;
      return Result::Corrupt("The PNG picture " + path_ + " is damaged after row " + std::to_string(rows_read_) + ": " +
                             state_.error);
    }
    ++rows_read_;
    ToBrightness(row_.data(), channels_, layout_.Width, grey);
    return Result::Ok();
  }

 private:
  PngState state_;
  std::string path_;
  std::vector<uint8_t> row_;
  int channels_ = 1;
  int64_t rows_read_ = 0;
  bool failed_ = false;
};

}  // namespace

Result OpenPngRows(std::FILE* file, const std::string& path, std::unique_ptr<PictureRows>& rows) {
  auto png = std::make_unique<PngRows>(file);
  if (Result opened = png->Open(path); !opened.ok()) return opened;
  rows = std::move(png);
  return Result::Ok();
}

}  // namespace tarvelo
#else
// Built without the decoder: the picture is refused, with the reason.
#include <cstdio>

#include "images/PictureRows.h"

namespace tarvelo {

Result OpenPngRows(std::FILE* file, const std::string& path, std::unique_ptr<PictureRows>& /*rows*/) {
  if (file) std::fclose(file);
  return Result::Invalid("The PNG picture " + path +
                         " cannot be read: this build of the program reads no PNG pictures");
}

}  // namespace tarvelo
#endif
