#include "align/LineSampling.h"

namespace tarvelo {

std::vector<int> SampleLines(const ScanLineArray& lines, double spacing) {
  std::vector<int> sampled;
  sampled.reserve(static_cast<size_t>(lines.Size() / 2 + 1));
  for (int i = 0; i < lines.Size(); ++i) {
    if (!sampled.empty()) {
      const int taken = sampled.back();
      if (i - taken < 2 && lines.Position(i) - lines.Position(taken) < spacing) continue;
    }
    sampled.push_back(i);
  }
  return sampled;
}

}  // namespace tarvelo
