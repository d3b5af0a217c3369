#pragma once
// The strip images of the roll view: an inch ruler and two strips that show where each track's
// band of the roll type lies across the roll. All three are `RollTypeDefinition::StripWidthPixels`
// wide at 63 pixels per inch; the view stretches the colour strip behind the scan and copies
// the ruler and parity strips as scales.

#include <string>
#include <vector>

#include "rolltypes/RollTypeDefinition.h"
#include "support/RgbImage.h"

namespace tarvelo {

// A number of the ruler strip: the front end draws `text` with its top-left corner at (x, y)
// in its own font.
struct RulerLabel {
  int x = 0;
  int y = 0;
  std::string text;
};

struct TrackStrips {
  static constexpr double kPixelsPerInch = 63.0;
  static constexpr int kRulerHeight = 40;
  static constexpr int kTrackStripHeight = 20;

  RgbImage Ruler;  // inch scale; its numbers are in RulerLabels
  std::vector<RulerLabel> RulerLabels;
  RgbImage TrackColour;         // each track's band in its background colour
  RgbImage TrackParity;         // the bands in alternating shades, octaves marked
  int UpperEdgeStripPixel = 0;  // one past the upper roll edge mark; 0 before rendering
};

// The strips before any roll type was rendered: the ruler, and a keyboard pattern in the two
// track strips. `width` is the strips' width in pixels.
TrackStrips InitialTrackStrips(int width = 1449);

// Redraws the track colour and parity strips of `strips` from `roll` (its hole range, track
// boundaries, colours and expected roll edges) and sets UpperEdgeStripPixel. The ruler is
// drawn again only when the width changed.
void RenderTrackStrips(const RollTypeDefinition& roll, TrackStrips& strips);

}  // namespace tarvelo
