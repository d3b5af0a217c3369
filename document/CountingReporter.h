#pragma once
// A reporter that passes everything on to another and counts the messages by kind, keeping
// the headline of the first of each kind, so that the document can tell a clean run from a
// doubtful or failed one (and say why in a line) whatever the front end.

#include <array>
#include <string>

#include "services/MessageHeadline.h"
#include "services/Reporter.h"

namespace tarvelo {

class CountingReporter : public Reporter {
 public:
  explicit CountingReporter(Reporter& target) : target_(target) {}

  void SetStatusText(std::string_view text) override { target_.SetStatusText(text); }
  void SetProgress(int colour_type, int position) override { target_.SetProgress(colour_type, position); }
  void ShowMessage(MessageKind kind, std::string_view text) override {
    Count(kind, text);
    target_.ShowMessage(kind, text);
  }
  // A notice a front end may show its own way (a banner, the status bar): passed on as a
  // message unless `shown` says the front end showed it; it counts as a message of `kind`
  // either way.
  void Notice(bool shown, MessageKind kind, std::string_view text) {
    if (shown)
      Count(kind, text);
    else
      ShowMessage(kind, text);
  }
  bool IsCancelled() const override { return target_.IsCancelled(); }

  const std::array<int, 3>& Counts() const { return counts_; }
  // The headline of the first message of `kind` since the counts were reset ("" when none).
  const std::string& FirstHeadline(MessageKind kind) const { return first_headlines_[static_cast<size_t>(kind)]; }
  void ResetCounts() {
    counts_ = {};
    first_headlines_ = {};
  }

 private:
  void Count(MessageKind kind, std::string_view text) {
    const auto index = static_cast<size_t>(kind);
    if (counts_[index]++ == 0) first_headlines_[index] = MessageHeadline(text);
  }

  Reporter& target_;
  std::array<int, 3> counts_{};
  std::array<std::string, 3> first_headlines_;
};

}  // namespace tarvelo
