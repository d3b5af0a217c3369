// The strip images a roll type record keeps for the roll view: an inch ruler and two strips
// that show where each track's band lies across the roll.

#include <algorithm>
#include <cmath>

#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo {

namespace {

constexpr double kPixelsPerInch = 63.0;
constexpr int kRulerHeight = 40;
constexpr int kTrackStripHeight = 20;
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

}  // namespace

void RollTypeDefinition::DrawRulerStrip() {
  const uint32_t line = MakeColour(255, 0, 0);
  RulerStrip = RgbImage(StripWidthPixels, kRulerHeight, MakeColour(255, 255, 170));
  RulerLabels.clear();
  // Lines run from their first row up to (not including) the last row named.
  for (int k = 0; 63 * k + 15 <= 1464; ++k) {
    const int x = 63 * k;
    RulerStrip.VerticalLine(x, 2, 24, line);
    RulerLabels.push_back({x + 1, 1, std::to_string(k)});
    RulerStrip.VerticalLine(x + 31, 8, 24, line);
    RulerStrip.VerticalLine(x + 15, 15, 24, line);
    RulerStrip.VerticalLine(x + 47, 15, 24, line);
  }
}

void RollTypeDefinition::DrawKeyboardPattern() {
  TrackParityStrip = RgbImage(StripWidthPixels, kTrackStripHeight, MakeColour(85, 85, 85));
  for (int k = 0; k <= 127; ++k) {
    const uint32_t colour = k % 12 == 0 ? MakeColour(170, 255, 170)
                            : k % 2 == 0 ? MakeColour(221, 221, 221)
                                         : MakeColour(255, 255, 238);
    TrackParityStrip.FillRect(7 * k + 1, 0, 6, kTrackBandHeight, colour);
  }
  TrackColourStrip = RgbImage(StripWidthPixels, kTrackStripHeight, MakeColour(255, 255, 238));
  for (int k = 14; k <= 114; ++k) {
    const uint32_t colour = k % 12 == 0 ? MakeColour(187, 255, 187)
                            : k % 2 == 0 ? MakeColour(238, 238, 238)
                                         : MakeColour(255, 255, 255);
    TrackColourStrip.FillRect(7 * k + 1, 0, 6, kTrackBandHeight, colour);
  }
}

void RollTypeDefinition::RenderTrackStrips() {
  // Values from a roll type file are not range-checked: keep every index inside the slots.
  const int lowest = ClampTrack(LowestTrackHoleNumber);
  const int highest = ClampTrack(HighestTrackHoleNumber);
  const int first = std::max(LowestTrackHoleNumber, 0);
  const int last = std::min(HighestTrackHoleNumber, kTrackSlots - 1);

  TrackColourStrip = RgbImage(StripWidthPixels, kTrackStripHeight, MakeColour(255, 255, 255));
  const int band_from = Px(TrackLowerBoundary[lowest]) + 1;
  const int band_to = Px(TrackUpperBoundary[highest]);
  TrackColourStrip.FillRect(band_from, 0, band_to - band_from, kTrackStripHeight, MakeColour(170, 170, 170));
  const uint32_t edge_mark = MakeColour(255, 17, 17);
  TrackColourStrip.FillRect(Px(LowerRollEdgeExpectedLocation), 0, 1, kTrackBandHeight, edge_mark);
  TrackColourStrip.FillRect(Px(UpperRollEdgeExpectedLocation), 0, 1, kTrackBandHeight, edge_mark);

  TrackParityStrip = RgbImage(StripWidthPixels, kTrackStripHeight, MakeColour(85, 85, 85));
  for (int n = first; n <= last; ++n) {
    const int x = Px(TrackLowerBoundary[n]) + 1;
    const int width = ClampedInt((TrackUpperBoundary[n] - TrackLowerBoundary[n]) * kPixelsPerInch + 0.5) - 1;
    TrackColourStrip.FillRect(x, 0, width, kTrackBandHeight, TrackBackgroundColor[n]);
    const uint32_t parity = n % 12 == 0 ? MakeColour(170, 255, 170)
                            : n % 2 == 0 ? MakeColour(221, 221, 221)
                                         : MakeColour(255, 255, 238);
    TrackParityStrip.FillRect(x, 0, width, kTrackBandHeight, parity);
  }
  UpperEdgeStripPixel = Px(UpperRollEdgeExpectedLocation) + 1;
}

}  // namespace tarvelo
