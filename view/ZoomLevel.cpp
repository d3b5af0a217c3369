#include "view/ZoomLevel.h"

#include <algorithm>
#include <cmath>

namespace tarvelo {

ZoomLevel::ZoomLevel(int level) : level_(std::clamp(level, kSmallest, kLargest)) {}

double ZoomLevel::FactorOf(int level) { return std::ldexp(1.0, std::clamp(level, kSmallest, kLargest) - kNormal); }

void ZoomLevel::ZoomIn() {
  if (CanZoomIn()) ++level_;
}

void ZoomLevel::ZoomOut() {
  if (CanZoomOut()) --level_;
}

}  // namespace tarvelo
