#pragma once
// "Twin Array Processing Settings" (profile section "Twin Array Settings"): how the two halves
// of a twin-array scan are joined. The blending seam width is shown but not offered for
// editing. OK checks the fields, writes the section and keeps the values in `settings`; the
// crossover line the roll view draws may change, so the window is repainted.

#include "app/dialogs/CheckedDialog.h"
#include "settings/TwinArraySettings.h"

class QCheckBox;
class QLineEdit;

namespace tarvelo::app {

class TwinArraySettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  TwinArraySettingsDialog(TwinArraySettings& settings, ProfileStore& store, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  TwinArraySettings& settings_;
  ProfileStore& store_;
  QCheckBox* override_cis_values_ = nullptr;
  QCheckBox* crossover_line_ = nullptr;
  QCheckBox* disable_merging_ = nullptr;
  QLineEdit* blend_width_ = nullptr;
};

}  // namespace tarvelo::app
