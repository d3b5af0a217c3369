#pragma once
// The one test double of the core's interfaces: a Reporter and FrontEndHooks that record every
// call, with the settings a test runs with (from an in-memory profile) at hand. Tests, bench-
// marks and fuzz targets all use it.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "document/FrontEndHooks.h"
#include "services/Reporter.h"
#include "settings/IniProfile.h"
#include "settings/RunSettings.h"

namespace tarvelo::testing {

class RecordingFrontEnd : public Reporter, public FrontEndHooks {
 public:
  RecordingFrontEnd() : settings(RunSettings::FromProfile(profile)) {}

  // The in-memory profile; after writing to it, ReloadSettings makes `settings` follow.
  IniProfile& Store() { return profile; }
  void ReloadSettings() { settings = RunSettings::FromProfile(profile); }

  // Reporter
  void SetStatusText(std::string_view text) override {
    if (record_status) statuses.emplace_back(text);
  }
  void SetProgress(int colour_type, int position) override {
    if (record_status) progress.push_back({colour_type, position});
  }
  void ShowMessage(MessageKind kind, std::string_view text) override {
    messages.emplace_back(text);
    kinds.push_back(kind);
  }
  bool IsCancelled() const override { return cancelled.load(); }

  // FrontEndHooks
  void SetReprocessPending(bool pending) override { reprocess_pending.push_back(pending); }
  void MarkScanImageWritten() override { ++scan_image_written; }
  void MarkERollWritten() override { ++eroll_written; }
  void RefreshControlBar(std::string_view file, std::string_view title) override {
    control_bar.push_back(std::string(file) + "|" + std::string(title));
  }
  void SetHeaderSummary(const CisHeaderSummary& summary) override { header_summaries.push_back(summary); }
  // Counts the roll information dialogs; `edit_roll_info`, when set, plays the user.
  bool EditRollInfo(RollInfo& info) override {
    ++roll_info_dialogs;
    return edit_roll_info ? edit_roll_info(info) : true;
  }

  // The number of messages of `kind`.
  int CountOf(MessageKind kind) const {
    int count = 0;
    for (const MessageKind k : kinds) count += k == kind ? 1 : 0;
    return count;
  }

  struct Progress {
    int colour;
    int position;
  };
  IniProfile profile;
  RunSettings settings;
  bool record_status = true;  // off: status and progress are not kept (benchmarks, fuzzing)
  std::atomic<bool> cancelled{false};
  std::vector<std::string> statuses;
  std::vector<Progress> progress;
  std::vector<std::string> messages;
  std::vector<MessageKind> kinds;  // the kind of each message, in the same order
  std::vector<std::string> control_bar;
  std::vector<CisHeaderSummary> header_summaries;
  std::vector<bool> reprocess_pending;
  int scan_image_written = 0;
  int eroll_written = 0;
  int roll_info_dialogs = 0;
  std::function<bool(RollInfo&)> edit_roll_info;
};

}  // namespace tarvelo::testing
