#pragma once
// The read floor: the least work that reads a CIS file and keeps every line, timed by the
// benchmarks against the conversion (bench/README.md). Depends on nothing but the file reading
// of support/, so that bench/FloorRead_main.cpp makes a process of nothing else.

#include <cstdint>
#include <string>
#include <vector>

#include "support/AtomicFile.h"

namespace tarvelo::bench {

// The floor: read the file, then one pass that turns every run into its running sum.
inline size_t FloorRead(const std::string& path, std::vector<int32_t>& sums) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes).ok()) return 0;
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  const int32_t width =
      static_cast<int16_t>(p[40] | (p[41] << 8)) * ((p[34] & 0x20) ? 2 : 1) * ((p[34] & 0x40) ? 2 : 1);
  sums.clear();
  sums.reserve((n - 52) / 2);
  int32_t sum = 0;
  size_t lines = 0;
  for (size_t at = 52; at + 2 <= n; at += 2) {
    sum += p[at] | (p[at + 1] << 8);
    sums.push_back(sum);
    if (sum >= width) {
      at += 2;  // the line word
      sum = 0;
      ++lines;
    }
  }
  return lines;
}

}  // namespace tarvelo::bench
