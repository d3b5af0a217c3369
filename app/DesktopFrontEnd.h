#pragma once
// The desktop's side of the core's interface: status and progress painted at once in the
// control bar, every message in the modal message window (through a MessagePresenter), and
// the state changes a conversion makes (re-process pending, outputs written, the file and
// title fields). It keeps the window's state and shows it; it holds no conversion logic.

#include <functional>
#include <string>
#include <utility>

#include "app/MessagePresenter.h"
#include "app/WindowState.h"
#include "cis/HeaderSummary.h"
#include "document/FrontEndHooks.h"
#include "services/Reporter.h"

namespace tarvelo::app {

class ControlBar;

class DesktopFrontEnd : public Reporter, public FrontEndHooks {
 public:
  DesktopFrontEnd(WindowState& state, ControlBar& bar, MessagePresenter& presenter);

  // Reporter
  void SetStatusText(std::string_view text) override;
  void SetProgress(int colour_type, int position) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;

  // FrontEndHooks
  void SetReprocessPending(bool pending) override;
  void MarkScanImageWritten() override;
  void MarkERollWritten() override;
  void MarkExpressionWritten() override;
  void RefreshControlBar(std::string_view file_name_with_extension, std::string_view title) override;
  void SetHeaderSummary(const CisHeaderSummary& summary) override { header_summary_ = summary; }
  // The roll information a file brings (its ANN file, the profile's template) is taken as it
  // comes while the file is read; the window asks the user to complete it once the roll is
  // shown (TakeRollInfoRequest), so that the user sees the roll they describe.
  bool EditRollInfo(RollInfo& /*info*/) override {
    roll_info_requested_ = true;
    return true;
  }
  // Whether the load asked for the roll information since the last call.
  bool TakeRollInfoRequest() { return std::exchange(roll_info_requested_, false); }
  // Holes off their tracks: no modal message; the window's banner says so in its own words,
  // from the run's summary.
  bool ShowOffTrackNotice(std::string_view text) override;
  // Notes on wrong tracks: the banner says so (from the run's summary), no modal message.
  bool ShowPlacementNotice(std::string_view text) override;
  // Auto-Tweak's values: shown with the values in use, not as a message (LastAutoTweak).
  bool ShowAutoTweak(std::string_view text) override;
  std::string_view AlignAdvice() const override {
    return "\"Align to This Roll\" measures the values that fit this roll.";
  }
  std::string_view UnreadableAdvice() const override {
    return "Check the roll type (\"Recognise From This Roll\" finds it) and the scanner preset.";
  }
  // Auto-Tweak's report of the latest run that converted with it ("" before any).
  const std::string& LastAutoTweak() const { return last_auto_tweak_; }
  // The core's notice of the latest run that gave one ("" before any).
  const std::string& LastNotice() const { return last_notice_; }

  // The header values of the file read last (for the "CIS File Embedded Data" dialog).
  const CisHeaderSummary& HeaderSummary() const { return header_summary_; }
  // Shows the whole state again (after the window changed it directly).
  void ShowState();

 private:
  WindowState& state_;
  ControlBar& bar_;
  MessagePresenter& presenter_;
  CisHeaderSummary header_summary_{};
  bool roll_info_requested_ = false;
  std::string last_notice_;
  std::string last_auto_tweak_;
};

}  // namespace tarvelo::app
