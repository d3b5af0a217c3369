#include "helpers/PictureWriting.h"

#include <png.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace tarvelo::testing {

namespace {

// A pixel of brightness `grey` in the form asked for: RGB with a tint that keeps the brightness
// close, or the palette entry of that brightness.
void PutPixel(const PictureSheet& sheet, uint8_t grey, std::vector<uint8_t>& out) {
  switch (sheet.Colour) {
    case PictureColour::kRgb:
      out.push_back(static_cast<uint8_t>(grey > 10 ? grey - 10 : 0));
      out.push_back(grey);
      out.push_back(static_cast<uint8_t>(grey < 235 ? grey + 20 : 255));
      return;
    case PictureColour::kPalette:
      out.push_back(grey);
      return;
    case PictureColour::kGrey:
      if (sheet.Bits == 16) {
        const uint16_t wide = static_cast<uint16_t>(grey * 257);
        out.push_back(static_cast<uint8_t>(wide >> 8));  // PNG order: most significant first
        out.push_back(static_cast<uint8_t>(wide & 0xff));
      } else {
        out.push_back(grey);
      }
      return;
  }
}

std::vector<uint8_t> EncodedRow(const PictureSheet& sheet, int row) {
  std::vector<uint8_t> out;
  for (const uint8_t grey : sheet.Row(row)) PutPixel(sheet, grey, out);
  return out;
}

bool WritePngRows(png_structp png, png_infop info, std::FILE* file, const PictureSheet& sheet,
                  std::vector<std::vector<uint8_t>>& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
  const int colour = sheet.Colour == PictureColour::kRgb       ? PNG_COLOR_TYPE_RGB
                     : sheet.Colour == PictureColour::kPalette ? PNG_COLOR_TYPE_PALETTE
                                                               : PNG_COLOR_TYPE_GRAY;
  const png_uint_32 height = static_cast<png_uint_32>(sheet.StatedRows > 0 ? sheet.StatedRows : sheet.Rows);
  png_set_IHDR(png, info, static_cast<png_uint_32>(sheet.Width), height, sheet.Bits, colour, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  if (sheet.Colour == PictureColour::kPalette) {
    for (int i = 0; i < 256; ++i)
      palette[i] = png_color{static_cast<png_byte>(i), static_cast<png_byte>(i), static_cast<png_byte>(i)};
    png_set_PLTE(png, info, palette, 256);
  }
  if (sheet.Dpi > 0) {
    const auto per_metre = static_cast<png_uint_32>(sheet.Dpi / 0.0254 + 0.5);
    png_set_pHYs(png, info, per_metre, per_metre, PNG_RESOLUTION_METER);
  }
  png_write_info(png, info);
  for (int row = 0; row < sheet.Rows; ++row) {
    rows[0] = EncodedRow(sheet, row);
    png_write_row(png, rows[0].data());
  }
  if (sheet.StatedRows == 0) png_write_end(png, nullptr);
  return true;
}

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1); }

bool WriteJpegRows(jpeg_compress_struct& info, JpegFailure& failure, std::FILE* file, const PictureSheet& sheet,
                   std::vector<uint8_t>& row) {
  if (setjmp(failure.jump)) return false;
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(sheet.Width);
  info.image_height = static_cast<JDIMENSION>(sheet.Rows);
  const bool rgb = sheet.Colour == PictureColour::kRgb;
  info.input_components = rgb ? 3 : 1;
  info.in_color_space = rgb ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, sheet.Quality, TRUE);
  if (sheet.Progressive) jpeg_simple_progression(&info);
  if (sheet.Dpi > 0) {
    info.density_unit = 1;
    info.X_density = static_cast<UINT16>(sheet.Dpi);
    info.Y_density = static_cast<UINT16>(sheet.Dpi);
  }
  jpeg_start_compress(&info, TRUE);
  for (int r = 0; r < sheet.Rows; ++r) {
    row = EncodedRow(sheet, r);
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

bool WritePng(const std::string& path, const PictureSheet& sheet) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<std::vector<uint8_t>> rows(1);
  const bool written = png && info && WritePngRows(png, info, file, sheet, rows);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return written;
}

bool WriteTiff(const std::string& path, const PictureSheet& sheet) {
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (!tiff) return false;
  const bool rgb = sheet.Colour == PictureColour::kRgb;
  const bool palette = sheet.Colour == PictureColour::kPalette;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(sheet.Width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(sheet.Rows));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(sheet.Bits));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(rgb ? 3 : 1));
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
               rgb       ? PHOTOMETRIC_RGB
               : palette ? PHOTOMETRIC_PALETTE
                         : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, static_cast<uint16_t>(sheet.Orientation));
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, sheet.Tiled ? COMPRESSION_ADOBE_DEFLATE : COMPRESSION_LZW);
  std::vector<uint16_t> map(256);
  if (palette) {
    for (int i = 0; i < 256; ++i) map[static_cast<size_t>(i)] = static_cast<uint16_t>(i * 257);
    TIFFSetField(tiff, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
  }
  if (sheet.Dpi > 0) {
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(sheet.Dpi));
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(sheet.Dpi));
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  }
  // Samples in the machine's order, as libtiff takes them.
  auto native_row = [&](int row) {
    std::vector<uint8_t> out = EncodedRow(sheet, row);
    if (sheet.Bits == 16)
      for (size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
    return out;
  };
  bool written = true;
  if (sheet.Tiled) {
    const int tile = 16;
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tile);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, tile);
    const size_t pixel_bytes = static_cast<size_t>(rgb ? 3 : 1) * static_cast<size_t>(sheet.Bits / 8);
    std::vector<uint8_t> buffer(static_cast<size_t>(tile * tile) * pixel_bytes);
    for (int top = 0; top < sheet.Rows && written; top += tile) {
      std::vector<std::vector<uint8_t>> band;
      for (int r = top; r < top + tile; ++r)
        band.push_back(r < sheet.Rows ? native_row(r) : std::vector<uint8_t>(sheet.Width * pixel_bytes, 0));
      for (int left = 0; left < sheet.Width && written; left += tile) {
        std::fill(buffer.begin(), buffer.end(), 0);
        for (int r = 0; r < tile; ++r)
          for (int x = left; x < left + tile && x < sheet.Width; ++x)
            for (size_t b = 0; b < pixel_bytes; ++b)
              buffer[(static_cast<size_t>(r * tile + x - left)) * pixel_bytes + b] =
                  band[static_cast<size_t>(r)][static_cast<size_t>(x) * pixel_bytes + b];
        written =
            TIFFWriteTile(tiff, buffer.data(), static_cast<uint32_t>(left), static_cast<uint32_t>(top), 0, 0) >= 0;
      }
    }
  } else {
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 7u);
    for (int row = 0; row < sheet.Rows && written; ++row) {
      std::vector<uint8_t> out = native_row(row);
      written = TIFFWriteScanline(tiff, out.data(), static_cast<uint32_t>(row), 0) >= 0;
    }
  }
  TIFFClose(tiff);
  return written;
}

bool WriteJpeg(const std::string& path, const PictureSheet& sheet) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info{};
  JpegFailure failure{};
  info.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = OnJpegError;
  std::vector<uint8_t> row;
  const bool written = WriteJpegRows(info, failure, file, sheet, row);
  jpeg_destroy_compress(&info);
  std::fclose(file);
  return written;
}

}  // namespace tarvelo::testing
