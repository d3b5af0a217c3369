#include "align/HoleOrder.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace tarvelo {

namespace {

// A key whose unsigned order is the order of the centres (both zeros alike).
uint64_t OrderKey(double center) {
  const uint64_t bits = std::bit_cast<uint64_t>(center == 0 ? 0.0 : center);
  return (bits >> 63) != 0 ? ~bits : bits | (uint64_t{1} << 63);
}

}  // namespace

void SortByCenter(std::vector<MeasuredHole>& holes) {
  struct Key {
    uint64_t Order;
    uint32_t Index;
  };
  std::vector<Key> keys(holes.size()), spare(holes.size());
  bool ordered = true;
  for (size_t k = 0; k < holes.size(); ++k) {
    keys[k] = {OrderKey(holes[k].Center), static_cast<uint32_t>(k)};
    ordered = ordered && (k == 0 || keys[k].Order >= keys[k - 1].Order);
  }
  if (ordered) return;
  // A byte at a time from the lowest: each pass keeps the order of equal bytes, so equal
  // centres end in the order they came. Bytes all keys share are passed over.
  constexpr int kBytes = 8;
  for (int byte = 0; byte < kBytes; ++byte) {
    const int shift = 8 * byte;
    std::array<uint32_t, 257> starts{};
    for (const Key& key : keys) ++starts[((key.Order >> shift) & 0xff) + 1];
    if (starts[((keys.front().Order >> shift) & 0xff) + 1] == keys.size()) continue;
    for (size_t b = 1; b < starts.size(); ++b) starts[b] += starts[b - 1];
    for (const Key& key : keys) spare[starts[(key.Order >> shift) & 0xff]++] = key;
    keys.swap(spare);
  }
  std::vector<MeasuredHole> sorted;
  sorted.reserve(holes.size());
  for (const Key& key : keys) sorted.push_back(holes[key.Index]);
  holes.swap(sorted);
}

}  // namespace tarvelo
