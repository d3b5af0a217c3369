#pragma once
// The command line's side of the core's interface: messages go to standard error, each line
// prefixed with the file being converted (the run goes on, as if OK were pressed); status and
// progress draw a one-line progress bar when standard error is a terminal; the roll
// information "dialog" fills in the entries given with --info.

#include <string>
#include <utility>
#include <vector>

#include "document/FrontEndHooks.h"
#include "services/Reporter.h"

namespace tarvelo::cli {

// A message as the command line keeps it for its reports.
struct ReportedMessage {
  MessageKind Kind;
  std::string Text;
};

class TerminalReporter : public Reporter, public FrontEndHooks {
 public:
  explicit TerminalReporter(bool show_progress);
  ~TerminalReporter() override;

  // Names the file that messages are about; clears the messages of the previous file.
  void BeginFile(const std::string& name);
  // Removes the progress bar line.
  void EndFile();

  void SetStatusText(std::string_view text) override;
  void SetProgress(int colour_type, int position) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool EditRollInfo(RollInfo& info) override;
  void SetRollInfoEntries(std::vector<std::pair<std::string, std::string>> entries) {
    roll_info_entries_ = std::move(entries);
  }

  const std::vector<ReportedMessage>& Messages() const { return messages_; }
  // Prints `text` on standard error, each of its lines prefixed with the file's name.
  void Print(std::string_view text);
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
  std::vector<ReportedMessage> messages_;
  std::vector<std::pair<std::string, std::string>> roll_info_entries_;
};

}  // namespace tarvelo::cli
