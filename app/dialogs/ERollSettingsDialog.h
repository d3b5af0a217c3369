#pragma once
// "eRoll MIDI Settings " (profile section "Midi eRoll Settings"): the eRoll MIDI file's name,
// lead-in and trailer, and which controller events it carries. OK checks the fields, writes
// the section and keeps the values in `settings`.

#include "app/dialogs/CheckedDialog.h"
#include "settings/ERollSettings.h"

class QCheckBox;
class QLineEdit;

namespace tarvelo::app {

class ERollSettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  ERollSettingsDialog(ERollSettings& settings, ProfileStore& store, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  ERollSettings& settings_;
  ProfileStore& store_;
  QLineEdit* prefix_ = nullptr;
  QLineEdit* suffix_ = nullptr;
  QLineEdit* lead_in_ = nullptr;
  QLineEdit* trailer_ = nullptr;
  QCheckBox* power_roll_ = nullptr;
  QCheckBox* sustain_pedal_ = nullptr;
};

}  // namespace tarvelo::app
