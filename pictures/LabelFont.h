#pragma once
// Writes a picture's texts onto its raster with a font file (through FreeType), for front ends
// that make image files. A label's (X, Y) is the top-left corner of its text cell: the first
// line's baseline lies the font's ascent below Y. Texts are UTF-8; a byte that is not part of
// a UTF-8 sequence is taken as a Latin-1 character (file names from older systems).

#include <memory>
#include <string>

#include "support/Picture.h"
#include "support/Result.h"

namespace tarvelo {

class LabelFont {
 public:
  static constexpr int kDefaultPixelSize = 12;  // pixels per em: about a desktop's dialog font

  LabelFont();
  ~LabelFont();
  LabelFont(const LabelFont&) = delete;
  LabelFont& operator=(const LabelFont&) = delete;

  // Loads the font file at `path`. Fails (kNotFound or kCorrupt, naming the path) when the
  // file is missing or is not a font; the font loaded before, if any, is then kept.
  Result Load(const std::string& path, int pixel_size = kDefaultPixelSize);
  bool IsLoaded() const;

  // Writes `label` onto `image` in its colour, smoothed against what lies below, clipped to
  // the image. Without a loaded font nothing is written.
  void Draw(const TextLabel& label, RgbImage& image) const;
  // Every label of `picture`, in order.
  void DrawAll(Picture& picture) const;

 private:
  struct Face;
  std::unique_ptr<Face> face_;
};

// The font file for labels: DejaVu Sans where Debian's fonts-dejavu-core puts it, else the
// file fontconfig's fc-match names for "DejaVu Sans" (where fc-match exists). Fails
// (kNotFound) with a message that says what to install when neither gives a file.
Result FindLabelFont(std::string& path);

}  // namespace tarvelo
