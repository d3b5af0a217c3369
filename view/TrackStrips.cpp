#include "view/TrackStrips.h"

#include <algorithm>
#include <cmath>

namespace tarvelo {

namespace {

constexpr double kPixelsPerInch = TrackStrips::kPixelsPerInch;
constexpr int kRulerHeight = TrackStrips::kRulerHeight;
constexpr int kTrackStripHeight = TrackStrips::kTrackStripHeight;
constexpr int kTrackBandHeight = 15;

// The integer part of `value`, held to a range that no strip coordinate reaches, so that
// absurd lengths from a roll type file draw nothing instead of overflowing.
int ClampedInt(double value) {
  if (!(value > -1.0e9)) return std::isnan(value) ? 0 : -1000000000;
  if (value > 1.0e9) return 1000000000;
  return static_cast<int>(value);
}

// Pixel column of a length in inches: integer part of x * 63 + 0.5.
int Px(double inches) { return ClampedInt(inches * kPixelsPerInch + 0.5); }

int ClampTrack(int n) { return std::clamp(n, 0, kTrackSlots - 1); }

void DrawRuler(int width, TrackStrips& strips) {
  const uint32_t line = MakeColour(255, 0, 0);
  RgbImage& ruler = strips.Ruler;
  ruler = RgbImage(width, kRulerHeight, MakeColour(255, 255, 170));
  strips.RulerLabels.clear();
  // Lines run from their first row up to (not including) the last row named.
  for (int k = 0; 63 * k + 15 <= 1464; ++k) {
    const int x = 63 * k;
    ruler.VerticalLine(x, 2, 24, line);
    strips.RulerLabels.push_back({x + 1, 1, std::to_string(k)});
    ruler.VerticalLine(x + 31, 8, 24, line);
    ruler.VerticalLine(x + 15, 15, 24, line);
    ruler.VerticalLine(x + 47, 15, 24, line);
  }
}

void DrawKeyboardPattern(int width, TrackStrips& strips) {
  RgbImage& parities = strips.TrackParity;
  parities = RgbImage(width, kTrackStripHeight, MakeColour(85, 85, 85));
  for (int k = 0; k <= 127; ++k) {
    const uint32_t colour = k % 12 == 0  ? MakeColour(170, 255, 170)
                            : k % 2 == 0 ? MakeColour(221, 221, 221)
                                         : MakeColour(255, 255, 238);
    parities.FillRect(7 * k + 1, 0, 6, kTrackBandHeight, colour);
  }
  RgbImage& colours = strips.TrackColour;
  colours = RgbImage(width, kTrackStripHeight, MakeColour(255, 255, 238));
  for (int k = 14; k <= 114; ++k) {
    const uint32_t colour = k % 12 == 0  ? MakeColour(187, 255, 187)
                            : k % 2 == 0 ? MakeColour(238, 238, 238)
                                         : MakeColour(255, 255, 255);
    colours.FillRect(7 * k + 1, 0, 6, kTrackBandHeight, colour);
  }
}

}  // namespace

TrackStrips InitialTrackStrips(int width) {
  TrackStrips strips;
  DrawRuler(width, strips);
  DrawKeyboardPattern(width, strips);
  return strips;
}

void RenderTrackStrips(const RollTypeDefinition& roll, TrackStrips& strips) {
  const int width = roll.StripWidthPixels;
  if (strips.Ruler.width != width) DrawRuler(width, strips);
  const auto& lower_boundary = roll.TrackLowerBoundary;
  const auto& upper_boundary = roll.TrackUpperBoundary;
  // Values from a roll type file are not range-checked: keep every index inside the slots.
  const int lowest = ClampTrack(roll.LowestTrackHoleNumber);
  const int highest = ClampTrack(roll.HighestTrackHoleNumber);
  const int first = std::max(roll.LowestTrackHoleNumber, 0);
  const int last = std::min(roll.HighestTrackHoleNumber, kTrackSlots - 1);

  RgbImage& colours = strips.TrackColour;
  colours = RgbImage(width, kTrackStripHeight, MakeColour(255, 255, 255));
  const int band_from = Px(lower_boundary[lowest]) + 1;
  const int band_to = Px(upper_boundary[highest]);
  colours.FillRect(band_from, 0, band_to - band_from, kTrackStripHeight, MakeColour(170, 170, 170));
  const uint32_t edge_mark = MakeColour(255, 17, 17);
  colours.FillRect(Px(roll.LowerRollEdgeExpectedLocation), 0, 1, kTrackBandHeight, edge_mark);
  colours.FillRect(Px(roll.UpperRollEdgeExpectedLocation), 0, 1, kTrackBandHeight, edge_mark);

  RgbImage& parities = strips.TrackParity;
  parities = RgbImage(width, kTrackStripHeight, MakeColour(85, 85, 85));
  for (int n = first; n <= last; ++n) {
    const int x = Px(lower_boundary[n]) + 1;
    const int band_width = ClampedInt((upper_boundary[n] - lower_boundary[n]) * kPixelsPerInch + 0.5) - 1;
    colours.FillRect(x, 0, band_width, kTrackBandHeight, roll.TrackBackgroundColor[n]);
    const uint32_t parity = n % 12 == 0  ? MakeColour(170, 255, 170)
                            : n % 2 == 0 ? MakeColour(221, 221, 221)
                                         : MakeColour(255, 255, 238);
    parities.FillRect(x, 0, band_width, kTrackBandHeight, parity);
  }
  strips.UpperEdgeStripPixel = Px(roll.UpperRollEdgeExpectedLocation) + 1;
}

}  // namespace tarvelo
