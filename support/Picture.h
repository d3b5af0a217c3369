#pragma once
// A drawn picture: a raster and the texts to write on it. The core draws the raster and lists
// the texts with their places; each front end writes the texts in its own font (the desktop
// with its widget font, the command line with a font file), so both show the same picture.

#include <cstdint>
#include <string>
#include <vector>

#include "support/RgbImage.h"

namespace tarvelo {

// One text: its cell's top-left corner is at (X, Y) of the raster; Text is UTF-8.
struct TextLabel {
  int X = 0;
  int Y = 0;
  std::string Text;
  uint32_t Colour = MakeColour(0, 0, 0);
};

struct Picture {
  RgbImage Image;
  std::vector<TextLabel> Labels;  // written in this order, after the raster is drawn
};

}  // namespace tarvelo
