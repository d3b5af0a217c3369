#pragma once
// "Active Tracking Settings" (profile section "ActiveTrackingParameters"): the roll-edge
// tracking loop's distances, weighting and gain. OK checks the fields, writes the section and
// keeps the values in `settings`.

#include "app/dialogs/CheckedDialog.h"
#include "settings/ActiveTrackingSettings.h"

class QLineEdit;

namespace tarvelo::app {

class ActiveTrackingSettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  ActiveTrackingSettingsDialog(ActiveTrackingSettings& settings, ProfileStore& store, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  ActiveTrackingSettings& settings_;
  ProfileStore& store_;
  QLineEdit* events_between_updates_ = nullptr;
  QLineEdit* capture_distance_ = nullptr;
  QLineEdit* update_distance_ = nullptr;
  QLineEdit* edge_weighting_ = nullptr;
  QLineEdit* loop_gain_ = nullptr;
};

}  // namespace tarvelo::app
