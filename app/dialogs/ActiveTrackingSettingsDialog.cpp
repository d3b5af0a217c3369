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
  capture_distance_ = ProfileNumberField(store, section, "RollEdgeCaptureDistance", "0.1");
  update_distance_ = ProfileNumberField(store, section, "TrackingUpdateDistance", "0.5");
  edge_weighting_ = ProfileNumberField(store, section, "EdgeErrorWeightingFactor", "0.20");
  loop_gain_ = ProfileNumberField(store, section, "TrackingLoopGain", "0.60");

  auto* form = new QFormLayout;
  form->addRow(tr("Min number of events between updates"), events_between_updates_);
  form->addRow(tr("Roll Edge Capture Distance"), capture_distance_);
  form->addRow(tr("Distance Between Tracking Updates"), update_distance_);
  form->addRow(tr("Edge Error Weighting Factor ( less than 1.0 )"), edge_weighting_);
  form->addRow(tr("Tracking Loop Gain ( less than 1.0 )"), loop_gain_);
  auto* body = new QVBoxLayout;
  body->addLayout(form);
  body->addWidget(NoteLabel(tr("NOTE: Active tracking is enabled/disabled in the scanner settings.")));
  SetBody(body);

  AddCheckedField("Min number of events between updates", events_between_updates_);
  AddCheckedField("Roll Edge Capture Distance", capture_distance_);
  AddCheckedField("Distance Between Tracking Updates", update_distance_);
  AddCheckedField("Edge Error Weighting Factor ( less than 1.0 )", edge_weighting_);
  AddCheckedField("Tracking Loop Gain ( less than 1.0 )", loop_gain_);
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
