#include "images/BrightnessSplit.h"

#include <cstddef>

namespace tarvelo {

BrightnessSplit SplitBrightness(const BrightnessHistogram& histogram) {
  BrightnessSplit split;
  double total = 0;
  double sum = 0;
  double sum_squares = 0;
  for (int value = 0; value < 256; ++value) {
    const double count = static_cast<double>(histogram[static_cast<size_t>(value)]);
    total += count;
    sum += count * value;
    sum_squares += count * value * value;
  }
  if (total == 0) return split;
  const double mean = sum / total;
  const double variance = sum_squares / total - mean * mean;
  if (variance <= 0) return split;
  double dark_count = 0;
  double dark_sum = 0;
  double best = -1;
  for (int value = 0; value < 255; ++value) {
    const double count = static_cast<double>(histogram[static_cast<size_t>(value)]);
    dark_count += count;
    dark_sum += count * value;
    const double light_count = total - dark_count;
    if (dark_count == 0 || light_count == 0) continue;
    const double dark_mean = dark_sum / dark_count;
    const double light_mean = (sum - dark_sum) / light_count;
    const double between = dark_count * light_count * (dark_mean - light_mean) * (dark_mean - light_mean);
    if (between > best) {
      best = between;
      split.Threshold = value;
      split.DarkMean = dark_mean;
      split.LightMean = light_mean;
    }
  }
  if (best > 0) split.Separation = best / (total * total) / variance;
  return split;
}

}  // namespace tarvelo
