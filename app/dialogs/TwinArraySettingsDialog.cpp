#include "app/dialogs/TwinArraySettingsDialog.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

TwinArraySettingsDialog::TwinArraySettingsDialog(TwinArraySettings& settings, ProfileStore& store, QWidget* parent)
    : CheckedDialog(tr("Twin Array Processing Settings"), parent), settings_(settings), store_(store) {
  const char* section = TwinArraySettings::kSection;
  override_cis_values_ = SettingCheckBox(section, "OverrideCISvalues", settings_.OverrideCISvalues);
  crossover_line_ = SettingCheckBox(section, "ShowCrossoverLine", settings_.ShowCrossoverLine);
  disable_merging_ = SettingCheckBox(section, "DisableTwinArrayProcessing", settings_.DisableTwinArrayProcessing);
  blend_width_ =
      ProfileNumberField(store, section, "BlendWidthInThousandths", std::to_string(settings_.BlendWidthInThousandths));
  blend_width_->setEnabled(false);

  auto* blend_form = new QFormLayout;
  blend_form->addRow(SettingLabel(section, blend_width_), blend_width_);
  auto* body = new QVBoxLayout;
  body->addWidget(override_cis_values_);
  body->addWidget(
      NoteLabel(tr("Leave this on unless the twin array values embedded in the CIS file are known to be right. "
                   "While it is on, the Overlap Width and Sensor Vert. Offset of the scanner settings are used.")));
  body->addWidget(crossover_line_);
  body->addWidget(disable_merging_);
  body->addLayout(blend_form);
  SetBody(body);

  AddSettingField(blend_width_);
}

Result TwinArraySettingsDialog::KeepEdits() {
  TwinArraySettings entered = settings_;
  entered.OverrideCISvalues = override_cis_values_->isChecked();
  entered.ShowCrossoverLine = crossover_line_->isChecked();
  entered.DisableTwinArrayProcessing = disable_merging_->isChecked();
  entered.BlendWidthInThousandths = FieldInt(blend_width_->text());
  Result kept = KeepCheckedGroup(entered, settings_, store_);
  if (kept.ok()) MutableOutcome().Repaint = true;  // the crossover line may come or go
  return kept;
}

}  // namespace tarvelo::app
