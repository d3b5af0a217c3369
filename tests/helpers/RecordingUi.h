#pragma once
// A user-interface double that records every call, over an in-memory profile.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "services/UiServices.h"
#include "settings/IniProfile.h"
#include "settings/SessionSettings.h"

namespace tarvelo::testing {

// Owns the profile and session settings so that a test can prepare values before the
// services are constructed.
struct RecordingUiBase {
  IniProfile profile;
  std::unique_ptr<SessionSettings> settings;
  RecordingUiBase() : settings(std::make_unique<SessionSettings>(profile)) {}
};

class RecordingUi : private RecordingUiBase, public UiServices {
 public:
  RecordingUi() : UiServices(*RecordingUiBase::settings) {}

  // Reloads the session settings after the test wrote to the profile.
  void ReloadSettings() { RecordingUiBase::settings->Reload(); }
  IniProfile& Store() { return profile; }
  SessionSettings& Session() { return *RecordingUiBase::settings; }

  void SetStatusText(std::string_view text) override { statuses.emplace_back(text); }
  void SetProgress(int colour_type, int position) override { progress.push_back({colour_type, position}); }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
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

  struct Progress {
    int colour;
    int position;
  };
  std::vector<std::string> statuses;
  std::vector<Progress> progress;
  std::vector<std::string> messages;
  std::vector<std::string> control_bar;
  std::vector<CisHeaderSummary> header_summaries;
  std::vector<bool> reprocess_pending;
  int scan_image_written = 0;
  int eroll_written = 0;
  int roll_info_dialogs = 0;
  std::function<bool(RollInfo&)> edit_roll_info;

 protected:
  void OnReprocessPending(bool pending) override { reprocess_pending.push_back(pending); }
};

}  // namespace tarvelo::testing
