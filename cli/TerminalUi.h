#pragma once
// The command line's user-interface services: messages go to standard error, each line
// prefixed with the file being converted (the run goes on, as if OK were pressed); status
// and progress draw a one-line progress bar when standard error is a terminal.

#include <string>
#include <utility>
#include <vector>

#include "services/UiServices.h"

namespace tarvelo::cli {

class TerminalUi : public UiServices {
 public:
  TerminalUi(SessionSettings& settings, bool show_progress);
  ~TerminalUi() override;

  // Names the file that messages are about; clears the messages of the previous file.
  void BeginFile(const std::string& name);
  // Removes the progress bar line.
  void EndFile();

  void SetStatusText(std::string_view text) override;
  void SetProgress(int colour_type, int position) override;
  void ShowMessage(std::string_view text) override;
  void SetHeaderSummary(const CisHeaderSummary& summary) override { header_summary_ = summary; }
  // The roll information "dialog" of the command line: the entries given with --info are
  // filled in and the rest accepted unchanged.
  bool EditRollInfo(RollInfo& info) override;
  // The command line shows the spacing histogram only when a command draws it.
  bool WantsSpacingHistogram() const override { return wants_histogram_; }
  void SetWantsSpacingHistogram(bool wants) { wants_histogram_ = wants; }
  void SetRollInfoEntries(std::vector<std::pair<std::string, std::string>> entries) {
    roll_info_entries_ = std::move(entries);
  }

  const std::vector<std::string>& Messages() const { return messages_; }
  const std::vector<std::string>& Statuses() const { return statuses_; }
  const CisHeaderSummary& HeaderSummary() const { return header_summary_; }
  // Messages are kept but not printed (for --json, which reports them itself).
  void SetEchoMessages(bool echo) { echo_messages_ = echo; }

 private:
  void Draw();
  void ClearBar();

  bool show_progress_;
  bool echo_messages_ = true;
  bool bar_visible_ = false;
  bool wants_histogram_ = false;
  std::string file_;
  std::string status_;
  int position_ = 0;
  std::vector<std::string> messages_;
  std::vector<std::string> statuses_;
  CisHeaderSummary header_summary_;
  std::vector<std::pair<std::string, std::string>> roll_info_entries_;
};

}  // namespace tarvelo::cli
