#pragma once
// "Scanner Settings Dialog": the 16 scanner presets. Opening it starts an edit of the current
// preset; choosing another preset in the list makes that preset current at once (Cancel keeps
// it current in memory, but leaves the live record and the profile as they were); "Apply"
// checks the fields, stores them into the current preset, writes that preset to the profile
// and makes it the live record.

#include "app/dialogs/CheckedDialog.h"
#include "settings/ProfileStore.h"
#include "settings/ScannerPresets.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tarvelo::app {

class ScannerSettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  ScannerSettingsDialog(ScannerPresets& presets, ProfileStore& store, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  // Puts preset `index` into the controls: its name, DPI and texts as held, its switches.
  void ShowPreset(int index);
  void OnPresetSelected(int index);

  ScannerPresets& presets_;
  ProfileStore& store_;
  // The working values: the current preset as numbers, and the auto-tweak flag that only the
  // (disabled) check box could change.
  ScannerSettings edit_;

  QComboBox* preset_list_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* dpi_ = nullptr;
  QLineEdit* offset_ = nullptr;
  QLineEdit* stretch_ = nullptr;
  QComboBox* mode_ = nullptr;
  QCheckBox* remove_acceleration_ = nullptr;
  QLineEdit* takeup_percent_ = nullptr;
  QCheckBox* tracking_ = nullptr;
  QCheckBox* auto_tweak_ = nullptr;
  QButtonGroup* lighting_ = nullptr;
  QLineEdit* overlap_ = nullptr;
  QLineEdit* vertical_offset_ = nullptr;
  QCheckBox* old_format_ = nullptr;
};

}  // namespace tarvelo::app
