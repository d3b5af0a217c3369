#pragma once
// The spacing histograms of a conversion, part of its summary (the desktop's
// histogram window draws them; the command line ignores them). Each array is indexed by
// the distance in thousandths of an inch; bins kFirstBin..kLastBin are kept, entry 0 stays 0.

#include <array>
#include <cstdint>

namespace tarvelo {

struct SpacingHistogramStore {
  static constexpr int kFirstBin = 1;
  static constexpr int kLastBin = 249;
  using Bins = std::array<uint32_t, kLastBin + 1>;

  // Every count back to 0 (the state before any conversion).
  void Clear() {
    HistogramAll.fill(0);
    HistogramFirstHalf.fill(0);
    HistogramSecondHalf.fill(0);
  }

  Bins HistogramAll{};         // whole roll
  Bins HistogramFirstHalf{};   // events of the first half of the event list
  Bins HistogramSecondHalf{};  // events of the second half
};

}  // namespace tarvelo
