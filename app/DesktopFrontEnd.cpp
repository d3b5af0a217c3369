#include "app/DesktopFrontEnd.h"

#include "app/ControlBar.h"

namespace tarvelo::app {

DesktopFrontEnd::DesktopFrontEnd(WindowState& state, ControlBar& bar, MessagePresenter& presenter)
    : state_(state), bar_(bar), presenter_(presenter) {}

void DesktopFrontEnd::SetStatusText(std::string_view text) {
  state_.SetStatusText(text);
  bar_.ShowStatus(state_.StatusText());
}

void DesktopFrontEnd::SetProgress(int colour_type, int position) {
  state_.SetProgress(colour_type, position);
  bar_.ShowProgress(state_.ProgressColour(), state_.ProgressPosition());
}

void DesktopFrontEnd::ShowMessage(MessageKind kind, std::string_view text) { presenter_.Present(kind, text); }

bool DesktopFrontEnd::ShowOffTrackNotice(std::string_view text) {
  last_notice_ = std::string(text);
  return true;
}

bool DesktopFrontEnd::ShowPlacementNotice(std::string_view text) {
  last_notice_ = std::string(text);
  return true;
}

bool DesktopFrontEnd::ShowAutoTweak(std::string_view text) {
  last_auto_tweak_ = std::string(text);
  return true;
}

void DesktopFrontEnd::SetReprocessPending(bool pending) {
  state_.SetReprocessPending(pending);
  ShowState();
  if (!pending) bar_.PaintStatusAndProgress();  // the end of a run is always shown
}

void DesktopFrontEnd::MarkScanImageWritten() {
  state_.MarkScanImageWritten();
  ShowState();
}

void DesktopFrontEnd::MarkERollWritten() {
  state_.MarkERollWritten();
  ShowState();
}

void DesktopFrontEnd::MarkExpressionWritten() {
  state_.MarkExpressionWritten();
  ShowState();
}

void DesktopFrontEnd::RefreshControlBar(std::string_view file_name_with_extension, std::string_view title) {
  bar_.ShowFile(std::string(file_name_with_extension), std::string(title));
}

void DesktopFrontEnd::ShowState() { bar_.ShowState(state_); }

}  // namespace tarvelo::app
