#pragma once
// "Diagnostic Settings" (profile section "Diagnostic Settings", and EmbedRollKeywordData in
// "OutputFiles"): diagnostic files, the left/right reversal override, histogram and shaft
// encoder options, and where the roll information comes from. OK checks the fields, writes
// them and keeps the values in `settings`.

#include "app/dialogs/CheckedDialog.h"
#include "settings/DiagnosticSettings.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace tarvelo::app {

class DiagnosticSettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  DiagnosticSettingsDialog(DiagnosticSettings& settings, ProfileStore& store, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  DiagnosticSettings& settings_;
  ProfileStore& store_;
  QCheckBox* raw_transitions_ = nullptr;
  QCheckBox* lookup_map_ = nullptr;
  QButtonGroup* reversal_ = nullptr;
  QLineEdit* histogram_minimum_ = nullptr;
  QLineEdit* encoder_ticks_ = nullptr;
  QCheckBox* encoder_statistics_ = nullptr;
  QCheckBox* same_track_only_ = nullptr;
  QCheckBox* embed_roll_info_ = nullptr;
  QCheckBox* use_ann_file_ = nullptr;
};

}  // namespace tarvelo::app
