#pragma once
// A reporter that passes everything on to another and counts the messages by kind, so that
// the document can tell a clean run from a doubtful or failed one whatever the front end.

#include <array>

#include "services/Reporter.h"

namespace tarvelo {

class CountingReporter : public Reporter {
 public:
  explicit CountingReporter(Reporter& target) : target_(target) {}

  void SetStatusText(std::string_view text) override { target_.SetStatusText(text); }
  void SetProgress(int colour_type, int position) override { target_.SetProgress(colour_type, position); }
  void ShowMessage(MessageKind kind, std::string_view text) override {
    ++counts_[static_cast<size_t>(kind)];
    target_.ShowMessage(kind, text);
  }
  bool IsCancelled() const override { return target_.IsCancelled(); }

  const std::array<int, 3>& Counts() const { return counts_; }
  void ResetCounts() { counts_ = {}; }

 private:
  Reporter& target_;
  std::array<int, 3> counts_{};
};

}  // namespace tarvelo
