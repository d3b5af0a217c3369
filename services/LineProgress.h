#pragma once
// The status and progress updates of a pass over the scan lines: about 25 per pass (every
// 2 * floor(N / 50) lines), each adding 4 percent, so the window is repainted rarely. Each
// update also asks the reporter whether the user wants to stop.

#include <cstdint>
#include <string>

#include "services/Reporter.h"

namespace tarvelo {

class LineProgress {
 public:
  // `status` is the text the line number is appended to ("Processing CIS File Line = ").
  LineProgress(Reporter& reporter, int64_t lines, int colour, std::string status)
      : reporter_(reporter), step_(lines / 50), colour_(colour), status_(std::move(status)) {}

  // Reports line `line_index` when it lies beyond the next threshold. Returns false once the
  // user asked to stop: the pass ends there.
  bool At(int64_t line_index) {
    if (line_index <= threshold_) return true;
    threshold_ += 2 * step_;
    percent_ += 4;
    reporter_.SetStatusText(status_ + std::to_string(line_index));
    reporter_.SetProgress(colour_, percent_);
    return !reporter_.IsCancelled();
  }

 private:
  Reporter& reporter_;
  int64_t step_;
  int colour_;
  std::string status_;
  int64_t threshold_ = 0;
  int percent_ = 0;
};

}  // namespace tarvelo
