#pragma once
// "Scanner Settings Dialog": the 16 scanner presets. Opening it starts an edit of the current
// preset; choosing another preset in the list makes that preset current at once (Cancel keeps
// it current in memory, but leaves the live record and the profile as they were); "Apply"
// checks the fields, stores them into the current preset, writes that preset to the profile
// and makes it the live record.
//
// With a roll open, "Align to This Roll" measures it with the values being edited and puts the
// DPI, offset and stretch that fit its holes into the fields (stored only by Apply), and says
// beneath the button what it measured.

#include <functional>

#include "align/AlignOpenedScan.h"
#include "app/dialogs/CheckedDialog.h"
#include "settings/ProfileStore.h"
#include "settings/ScannerPresets.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvelo::app {

// Measures the open roll with the scanner values being edited (the roll type in force).
using AlignmentMeasurer = std::function<MeasuredAlignment(const ScannerSettings& edited)>;

class ScannerSettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  ScannerSettingsDialog(ScannerPresets& presets, ProfileStore& store, QWidget* parent = nullptr);

  // How "Align to This Roll" measures the open roll; without one (no roll open) the button is
  // greyed.
  void SetAlignmentMeasurer(AlignmentMeasurer measure);

 protected:
  Result KeepEdits() override;

 private:
  // Puts preset `index` into the controls: its name, DPI and texts as held, its switches.
  void ShowPreset(int index);
  void OnPresetSelected(int index);
  // The fields as they stand, unchecked, over the working values.
  ScannerSettings EnteredValues() const;
  void OnAlignToRoll();

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
  AlignmentMeasurer measure_;
  QPushButton* align_ = nullptr;
  QLabel* measured_ = nullptr;
};

}  // namespace tarvelo::app
