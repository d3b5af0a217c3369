#include "app/dialogs/ActiveTrackingSettingsDialog.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

ActiveTrackingSettingsDialog::ActiveTrackingSettingsDialog(ActiveTrackingSettings& settings, ProfileStore& store,
                                                           QWidget* parent)
    : CheckedDialog(tr("Active Tracking Settings"), parent), settings_(settings), store_(store) {
  const char* section = ActiveTrackingSettings::kSection;
  events_between_updates_ =
      ProfileNumberField(store, section, "EventsBetweenUpdates", std::to_string(settings_.EventsBetweenUpdates));
  capture_distance_ = ProfileNumberField(store, section, "RollEdgeCaptureDistance");
  update_distance_ = ProfileNumberField(store, section, "TrackingUpdateDistance");
  edge_weighting_ = ProfileNumberField(store, section, "EdgeErrorWeightingFactor");
  loop_gain_ = ProfileNumberField(store, section, "TrackingLoopGain");
  const auto fields = {events_between_updates_, capture_distance_, update_distance_, edge_weighting_, loop_gain_};

  auto* form = new QFormLayout;
  for (QLineEdit* field : fields) form->addRow(SettingLabel(section, field), field);
  auto* body = new QVBoxLayout;
  body->addLayout(form);
  body->addWidget(NoteLabel(tr("NOTE: Active tracking is enabled/disabled in the scanner settings.")));
  SetBody(body);

  for (QLineEdit* field : fields) AddSettingField(field);
}

Result ActiveTrackingSettingsDialog::KeepEdits() {
  ActiveTrackingSettings entered = settings_;
  entered.EventsBetweenUpdates = FieldInt(events_between_updates_->text());
  entered.RollEdgeCaptureDistance = FieldReal(capture_distance_->text());
  entered.TrackingUpdateDistance = FieldReal(update_distance_->text());
  entered.EdgeErrorWeightingFactor = FieldReal(edge_weighting_->text());
  entered.TrackingLoopGain = FieldReal(loop_gain_->text());
  return KeepCheckedGroup(entered, settings_, store_);
}

}  // namespace tarvelo::app
