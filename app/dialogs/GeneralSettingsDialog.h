#pragma once
// "General Settings" (profile section "Midi Gen Settings"): the ScanImage MIDI file's name,
// lead-in and copyright text, and the speck and glitch thresholds of the hole clean-up. OK
// checks the fields, writes the section and keeps the values in `settings`.

#include "app/dialogs/CheckedDialog.h"
#include "settings/GeneralSettings.h"

class QLineEdit;

namespace tarvelo::app {

class GeneralSettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  GeneralSettingsDialog(GeneralSettings& settings, ProfileStore& store, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  GeneralSettings& settings_;
  ProfileStore& store_;
  QLineEdit* prefix_ = nullptr;
  QLineEdit* suffix_ = nullptr;
  QLineEdit* lead_in_ = nullptr;
  QLineEdit* speck_length_ = nullptr;
  QLineEdit* copyright_ = nullptr;
  QLineEdit* speck_width_ = nullptr;
  QLineEdit* glitch_distance_ = nullptr;
};

}  // namespace tarvelo::app
