#pragma once
// The status and progress updates of a pass over the scan lines: about 25 per pass (every
// 2 * floor(N / 50) lines), each adding 4 percent, so the window is repainted rarely.

#include <cstdint>
#include <string>

#include "services/UiServices.h"

namespace tarvelo {

class LineProgress {
 public:
  // `status` is the text the line number is appended to ("Processing CIS File Line = ").
  LineProgress(UiServices& ui, int64_t lines, int colour, std::string status)
      : ui_(ui), step_(lines / 50), colour_(colour), status_(std::move(status)) {}

  // Reports line `i` when it lies beyond the next threshold.
  void At(int64_t i) {
    if (i <= threshold_) return;
    threshold_ += 2 * step_;
    percent_ += 4;
    ui_.SetStatusText(status_ + std::to_string(i));
    ui_.SetProgress(colour_, percent_);
  }

 private:
  UiServices& ui_;
  int64_t step_;
  int colour_;
  std::string status_;
  int64_t threshold_ = 0;
  int percent_ = 0;
};

}  // namespace tarvelo
