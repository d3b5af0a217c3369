#pragma once
// The reporter of one file of a batch, used by the one thread that converts the file: it
// keeps the file's messages (printed whole once the file is done, so the messages of files
// converted at once never interleave), ignores status and progress (the batch draws its own
// line), takes a stop signal as the cancel request, and fills the roll information "dialog"
// with the --info entries.

#include <string>
#include <utility>
#include <vector>

#include "cli/CommandLineAdvice.h"
#include "cli/FileOutcome.h"
#include "services/Reporter.h"

namespace tarvelo::cli {

using RollInfoEntries = std::vector<std::pair<std::string, std::string>>;

class FileReporter : public Reporter, public CommandLineAdvice {
 public:
  // `entries` must outlive the reporter.
  explicit FileReporter(const RollInfoEntries& entries) : entries_(entries) {}

  void SetStatusText(std::string_view /*text*/) override {}
  void SetProgress(int /*colour_type*/, int /*position*/) override {}
  void ShowMessage(MessageKind kind, std::string_view text) override {
    messages_.push_back(ReportedMessage{kind, std::string(text)});
  }
  bool IsCancelled() const override;
  bool EditRollInfo(RollInfo& info) override;

  std::vector<ReportedMessage>& Messages() { return messages_; }

 private:
  const RollInfoEntries& entries_;
  std::vector<ReportedMessage> messages_;
};

}  // namespace tarvelo::cli
