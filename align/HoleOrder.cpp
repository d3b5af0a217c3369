#include "align/HoleOrder.h"

#include <algorithm>
#include <cstdint>

namespace tarvelo {

void SortByCenter(std::vector<MeasuredHole>& holes) {
  struct Key {
    double Center;
    uint32_t Index;
  };
  std::vector<Key> keys;
  keys.reserve(holes.size());
  bool ordered = true;
  for (size_t k = 0; k < holes.size(); ++k) {
    keys.push_back({holes[k].Center, static_cast<uint32_t>(k)});
    ordered = ordered && (k == 0 || !(holes[k].Center < holes[k - 1].Center));
  }
  if (ordered) return;
  // The index breaks ties, so the order is the one a stable sort by centre gives.
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return a.Center < b.Center || (!(b.Center < a.Center) && a.Index < b.Index);
  });
  std::vector<MeasuredHole> sorted;
  sorted.reserve(holes.size());
  for (const Key& key : keys) sorted.push_back(holes[key.Index]);
  holes.swap(sorted);
}

}  // namespace tarvelo
