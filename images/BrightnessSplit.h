#pragma once
// The brightness that parts a picture's two kinds of pixel (paper, and holes with the background
// seen through them and beside the roll), found from the picture's own histogram, so that the
// colour of the paper, the lighting and the exposure need no setting.

#include <array>
#include <cstdint>

namespace tarvelo {

using BrightnessHistogram = std::array<uint64_t, 256>;

struct BrightnessSplit {
  int Threshold = 128;  // brightness above it is light
  // 0..1: the share of the brightness variance that lies between the two classes (Otsu's
  // measure); near 1 for a clean two-tone picture, low when the picture shows one tone only.
  double Separation = 0;
  double DarkMean = 0;
  double LightMean = 0;
};

// Otsu's threshold: the one that makes the variance between the dark and the light class largest.
// An empty histogram, or one of a single brightness, gives Threshold 128 and Separation 0.
BrightnessSplit SplitBrightness(const BrightnessHistogram& histogram);

}  // namespace tarvelo
