#pragma once
// The desktop's side of the core's interface: status and progress painted at once in the
// control bar, every message in the modal message window (through a MessagePresenter), and
// the state changes a conversion makes (re-process pending, outputs written, the file and
// title fields). It keeps the window's state and shows it; it holds no conversion logic.

#include <functional>
#include <string>

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
  void RefreshControlBar(std::string_view file_name_with_extension, std::string_view title) override;
  void SetHeaderSummary(const CisHeaderSummary& summary) override { header_summary_ = summary; }
  // The roll information dialog ("View/Set Embedded Text") is still to come: until it does, the
  // entries a file brings (its ANN file, the profile's template) are taken as they are.
  bool EditRollInfo(RollInfo& /*info*/) override { return true; }
  // Holes off their tracks: a line in the window's status bar, not a modal message.
  bool ShowOffTrackNotice(std::string_view text) override;
  // Where notices go (the main window's status bar).
  void SetNoticeSink(std::function<void(const std::string&)> sink) { notice_sink_ = std::move(sink); }
  // The notice of the latest run that gave one ("" before any).
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
  std::function<void(const std::string&)> notice_sink_;
  std::string last_notice_;
};

}  // namespace tarvelo::app
