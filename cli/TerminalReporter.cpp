#include "cli/TerminalReporter.h"

#include <algorithm>
#include <cstdio>

#include "cis/RollInfo.h"

namespace tarvelo::cli {

TerminalReporter::TerminalReporter(bool show_progress) : show_progress_(show_progress) {}

TerminalReporter::~TerminalReporter() { ClearBar(); }

void TerminalReporter::BeginFile(const std::string& name) {
  file_ = name;
  status_.clear();
  position_ = 0;
  messages_.clear();
}

void TerminalReporter::EndFile() { ClearBar(); }

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

void TerminalReporter::Print(std::string_view text) {
  ClearBar();
  // Each line of the message names the file, so messages of a batch stay attributable.
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.find_first_not_of(' ') != std::string_view::npos)
      std::fprintf(stderr, "%s: %.*s\n", file_.c_str(), static_cast<int>(line.size()), line.data());
    start = end + 1;
  }
  std::fflush(stderr);
  Draw();
}

bool TerminalReporter::EditRollInfo(RollInfo& info) {
  for (const auto& [name, value] : roll_info_entries_) info.SetEntry(name, value);
  return true;
}

void TerminalReporter::Draw() {
  if (!show_progress_) return;
  constexpr int kBarWidth = 30;
  const int filled = position_ * kBarWidth / 100;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.resize(kBarWidth, ' ');
  std::string line = file_ + " [" + bar + "] " + std::to_string(position_) + "% " + status_;
  if (line.size() > 100) line.resize(100);
  std::fprintf(stderr, "\r%-100s", line.c_str());
  std::fflush(stderr);
  bar_visible_ = true;
}

void TerminalReporter::ClearBar() {
  if (!bar_visible_) return;
  std::fprintf(stderr, "\r%-100s\r", "");
  std::fflush(stderr);
  bar_visible_ = false;
}

}  // namespace tarvelo::cli
