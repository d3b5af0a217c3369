#pragma once
// Searches in short runs of ascending integers (the transitions of a scan line).

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvelo {

// Index of the first value above `value` by binary search: the number of values at or below
// it when the values ascend (for values in any other order some index, never beyond them).
// The halving steps choose without branching, which suits lines whose split lies anywhere.
inline size_t CountUpTo(std::span<const int32_t> values, int64_t value) {
  if (values.empty()) return 0;
  const int32_t* base = values.data();
  size_t n = values.size();
  while (n > 1) {
    const size_t half = n / 2;
    base = base[half] <= value ? base + half : base;
    n -= half;
  }
  return static_cast<size_t>(base - values.data()) + (*base <= value ? 1 : 0);
}

// CountUpTo for two values at once: the two searches share their halving steps, so they run
// side by side instead of one after the other.
inline void CountUpTo2(std::span<const int32_t> values, int64_t value1, int64_t value2, size_t& count1,
                       size_t& count2) {
  if (values.empty()) {
    count1 = count2 = 0;
    return;
  }
  const int32_t* base1 = values.data();
  const int32_t* base2 = values.data();
  size_t n = values.size();
  while (n > 1) {
    const size_t half = n / 2;
    base1 = base1[half] <= value1 ? base1 + half : base1;
    base2 = base2[half] <= value2 ? base2 + half : base2;
    n -= half;
  }
  count1 = static_cast<size_t>(base1 - values.data()) + (*base1 <= value1 ? 1 : 0);
  count2 = static_cast<size_t>(base2 - values.data()) + (*base2 <= value2 ? 1 : 0);
}

}  // namespace tarvelo
