#include "pictures/LabelFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace tarvelo {

namespace {

constexpr const char* kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The next character of UTF-8 `text` at `at`, moving `at` past it.
char32_t NextCharacter(std::string_view text, size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length > 1 && at + static_cast<size_t>(length) <= text.size()) {
    char32_t value = lead & (0x7F >> length);
    bool valid = true;
    for (int k = 1; k < length && valid; ++k) {
      const auto next = static_cast<unsigned char>(text[at + static_cast<size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      value = (value << 6) | (next & 0x3F);
    }
    if (valid) {
      at += static_cast<size_t>(length);
      return value;
    }
  }
  ++at;
  return lead;  // ASCII, or a byte outside UTF-8 read as Latin-1
}

// Lays `colour` over the pixel at `at` with coverage 0..255.
void Blend(uint8_t* at, uint32_t colour, unsigned coverage) {
  const unsigned parts[3] = {static_cast<unsigned>(ColourRed(colour)), static_cast<unsigned>(ColourGreen(colour)),
                             static_cast<unsigned>(ColourBlue(colour))};
  for (int channel = 0; channel < 3; ++channel)
    at[channel] = static_cast<uint8_t>((at[channel] * (255 - coverage) + parts[channel] * coverage + 127) / 255);
}

void DrawGlyph(const FT_Bitmap& bitmap, long long left, long long top, uint32_t colour, RgbImage& image) {
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const long long y = top + row;
    if (y < 0 || y >= image.height) continue;
    const unsigned char* source = bitmap.buffer + static_cast<long long>(row) * bitmap.pitch;
    uint8_t* target = image.Row(static_cast<int>(y));
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const long long x = left + column;
      if (x < 0 || x >= image.width) continue;
      unsigned coverage = 0;
      if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
        coverage = source[column] * 255u / (bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255u);
      else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        coverage = (source[column / 8] & (0x80 >> (column % 8))) ? 255 : 0;
      if (coverage > 0) Blend(target + x * 3, colour, coverage);
    }
  }
}

}  // namespace

struct LabelFont::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

LabelFont::LabelFont() = default;
LabelFont::~LabelFont() = default;

bool LabelFont::IsLoaded() const { return face_ != nullptr; }

Result LabelFont::Load(const std::string& path, int pixel_size) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return Result::NotFound("cannot load the font " + path + ": no such file");
  auto loaded = std::make_unique<Face>();
  if (FT_Init_FreeType(&loaded->library) != 0) return Result::Invalid("cannot start the font engine (FreeType)");
  if (FT_New_Face(loaded->library, path.c_str(), 0, &loaded->face) != 0) {
    loaded->face = nullptr;
    return Result::Corrupt("cannot load the font " + path + ": not a font file FreeType can read");
  }
  if (FT_Set_Pixel_Sizes(loaded->face, 0, static_cast<FT_UInt>(pixel_size > 0 ? pixel_size : kDefaultPixelSize)) != 0)
    return Result::Corrupt("cannot load the font " + path + ": no size of " + std::to_string(pixel_size) + " pixels");
  face_ = std::move(loaded);
  return Result::Ok();
}

void LabelFont::Draw(const TextLabel& label, RgbImage& image) const {
  if (!face_) return;
  FT_Face face = face_->face;
  // 26.6 fixed point: the ascent rounded up to whole pixels.
  const long long baseline = label.Y + ((face->size->metrics.ascender + 63) >> 6);
  long long pen = label.X;
  for (size_t at = 0; at < label.Text.size();) {
    const char32_t character = NextCharacter(label.Text, at);
    if (FT_Load_Char(face, character, FT_LOAD_RENDER) != 0) continue;  // no glyph: the character is left out
    const FT_GlyphSlot glyph = face->glyph;
    DrawGlyph(glyph->bitmap, pen + glyph->bitmap_left, baseline - glyph->bitmap_top, label.Colour, image);
    pen += glyph->advance.x >> 6;
    if (pen > image.width) break;
  }
}

void LabelFont::DrawAll(Picture& picture) const {
  for (const TextLabel& label : picture.Labels) Draw(label, picture.Image);
}

Result FindLabelFont(std::string& path) {
  std::error_code error;
  if (std::filesystem::is_regular_file(kDejaVuSans, error)) {
    path = kDejaVuSans;
    return Result::Ok();
  }
#ifdef _WIN32
  FILE* pipe = _popen("fc-match --format=%{file} \"DejaVu Sans\" 2>NUL", "r");
#else
  FILE* pipe = popen("fc-match --format=%{file} 'DejaVu Sans' 2>/dev/null", "r");
#endif
  std::string found;
  if (pipe) {
    char buffer[512];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) found.append(buffer, read);
#ifdef _WIN32
    _pclose(pipe);
#else
    pclose(pipe);
#endif
  }
  if (!found.empty() && std::filesystem::is_regular_file(found, error)) {
    path = found;
    return Result::Ok();
  }
  return Result::NotFound(std::string("no font for the picture's texts: ") + kDejaVuSans +
                          " is missing and fontconfig (fc-match) names no other (Debian: install fonts-dejavu-core)");
}

}  // namespace tarvelo
