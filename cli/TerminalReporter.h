#pragma once
// The command line's side of the core's interface for the commands that work on one file at
// a time (info, edit, roll-types, render, histogram): messages go to standard error, each
// line prefixed with the file being worked on (the run goes on, as if OK were pressed);
// status and progress draw one progress line fitted to the terminal when standard error is
// one; a stop signal is the cancel request; the roll information "dialog" fills in the
// entries given with --info.

#include <string>
#include <utility>
#include <vector>

#include "cli/CommandLineAdvice.h"
#include "cli/FileOutcome.h"
#include "cli/ProgressLine.h"
#include "services/Reporter.h"

namespace tarvelo::cli {

class TerminalReporter : public Reporter, public CommandLineAdvice {
 public:
  explicit TerminalReporter(bool show_progress);

  // Names the file that messages are about; clears the messages of the previous file.
  void BeginFile(const std::string& name);
  // Removes the progress line.
  void EndFile();

  void SetStatusText(std::string_view text) override;
  void SetProgress(int colour_type, int position) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool IsCancelled() const override;
  bool EditRollInfo(RollInfo& info) override;
  void SetRollInfoEntries(std::vector<std::pair<std::string, std::string>> entries) {
    roll_info_entries_ = std::move(entries);
  }

  const std::vector<ReportedMessage>& Messages() const { return messages_; }
  // Prints `text` on standard error, each of its lines prefixed with the file's name.
  void Print(std::string_view text);
  // Messages are kept but not printed.
  void SetEchoMessages(bool echo) { echo_messages_ = echo; }

 private:
  void Draw();

  ProgressLine progress_line_;
  bool echo_messages_ = true;
  std::string file_;
  std::string status_;
  int position_ = 0;
  std::vector<ReportedMessage> messages_;
  std::vector<std::pair<std::string, std::string>> roll_info_entries_;
};

}  // namespace tarvelo::cli
