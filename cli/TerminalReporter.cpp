#include "cli/TerminalReporter.h"

#include <algorithm>
#include <cstdio>

#include "cis/RollInfo.h"
#include "cli/MessageLines.h"
#include "cli/StopSignals.h"

namespace tarvelo::cli {

TerminalReporter::TerminalReporter(bool show_progress) : progress_line_(show_progress) {}

void TerminalReporter::BeginFile(const std::string& name) {
  file_ = name;
  status_.clear();
  position_ = 0;
  messages_.clear();
}

void TerminalReporter::EndFile() { progress_line_.Clear(); }

void TerminalReporter::SetStatusText(std::string_view text) {
  status_ = std::string(text);
  Draw();
}

void TerminalReporter::SetProgress(int /*colour_type*/, int position) {
  position_ = std::clamp(position, 0, 100);
  Draw();
}

void TerminalReporter::ShowMessage(MessageKind kind, std::string_view text) {
  messages_.push_back(ReportedMessage{kind, std::string(text)});
  if (echo_messages_) Print(text);
}

bool TerminalReporter::IsCancelled() const { return StopSignal() != 0; }

void TerminalReporter::Print(std::string_view text) {
  progress_line_.Clear();
  std::fputs(PrefixedLines(file_, text).c_str(), stderr);
  std::fflush(stderr);
  Draw();
}

bool TerminalReporter::EditRollInfo(RollInfo& info) {
  for (const auto& [name, value] : roll_info_entries_) info.SetEntry(name, value);
  return true;
}

void TerminalReporter::Draw() {
  if (!progress_line_.Enabled()) return;
  constexpr int kBarWidth = 20;
  const int filled = position_ * kBarWidth / 100;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.resize(kBarWidth, ' ');
  progress_line_.Show(
      FitToColumns(file_ + " [" + bar + "] " + std::to_string(position_) + "% " + status_, progress_line_.Columns()));
}

}  // namespace tarvelo::cli
