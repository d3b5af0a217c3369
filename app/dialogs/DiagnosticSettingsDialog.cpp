#include "app/dialogs/DiagnosticSettingsDialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

DiagnosticSettingsDialog::DiagnosticSettingsDialog(DiagnosticSettings& settings, ProfileStore& store, QWidget* parent)
    : CheckedDialog(tr("Diagnostic Settings"), parent), settings_(settings), store_(store) {
  const char* section = DiagnosticSettings::kSection;
  raw_transitions_ = SettingCheckBox(section, "WriteCISrawTransitionFile", settings_.WriteCISrawTransitionFile);
  lookup_map_ = SettingCheckBox(section, "WriteTrackLookUpMapFile", settings_.WriteTrackLookUpMapFile);

  reversal_ = new QButtonGroup(this);
  auto* reversal_group = new QGroupBox(SettingLabel(section, "OverrideImageReversal"));
  auto* reversal_layout = new QVBoxLayout(reversal_group);
  const QString reversal_names[] = {tr("Use CIS Bit"), tr("Never Reverse"), tr("Always Reverse")};
  for (int choice = 0; choice < 3; ++choice) {
    auto* button = new QRadioButton(reversal_names[choice]);
    button->setObjectName(QStringLiteral("OverrideImageReversal%1").arg(choice));
    button->setChecked(choice == settings_.OverrideImageReversal);
    reversal_->addButton(button, choice);
    reversal_layout->addWidget(button);
  }

  histogram_minimum_ = ProfileNumberField(store, section, "HistogramMinDisplayDistance",
                                          std::to_string(settings_.HistogramMinDisplayDistance));
  same_track_only_ = SettingCheckBox(section, "HistogramSameTrackOnly", settings_.HistogramSameTrackOnly);
  auto* histogram_form = new QFormLayout;
  histogram_form->addRow(NoteLabel(SettingLabel(section, histogram_minimum_)));
  histogram_form->addRow(histogram_minimum_);
  histogram_form->addRow(same_track_only_);

  encoder_ticks_ =
      ProfileNumberField(store, section, "EncoderTicksToAverage", std::to_string(settings_.EncoderTicksToAverage));
  encoder_statistics_ = SettingCheckBox(section, "ShowShaftEncoderStatistics", settings_.ShowShaftEncoderStatistics);
  auto* encoder_group = new QGroupBox(tr("Shaft Encoder Scanner Items"));
  auto* encoder_form = new QFormLayout(encoder_group);
  encoder_form->addRow(NoteLabel(SettingLabel(section, encoder_ticks_)));
  encoder_form->addRow(encoder_ticks_);
  encoder_form->addRow(encoder_statistics_);

  embed_roll_info_ =
      SettingCheckBox(DiagnosticSettings::kOutputSection, "EmbedRollKeywordData", settings_.EmbedRollKeywordData);
  use_ann_file_ = SettingCheckBox(section, "UseAnnFile", settings_.UseAnnFile);

  auto* body = new QVBoxLayout;
  body->addWidget(raw_transitions_);
  body->addWidget(lookup_map_);
  body->addWidget(reversal_group);
  body->addLayout(histogram_form);
  body->addWidget(encoder_group);
  body->addWidget(embed_roll_info_);
  body->addWidget(use_ann_file_);
  SetBody(body);

  AddSettingField("OverrideImageReversal", reversal_->button(0));
  AddSettingField(histogram_minimum_);
  AddSettingField(encoder_ticks_);
}

Result DiagnosticSettingsDialog::KeepEdits() {
  DiagnosticSettings entered = settings_;
  entered.WriteCISrawTransitionFile = raw_transitions_->isChecked();
  entered.WriteTrackLookUpMapFile = lookup_map_->isChecked();
  // A stored override outside the three choices checks none of them and is kept as it is.
  if (reversal_->checkedId() >= 0) entered.OverrideImageReversal = reversal_->checkedId();
  entered.HistogramMinDisplayDistance = FieldInt(histogram_minimum_->text());
  entered.EncoderTicksToAverage = FieldInt(encoder_ticks_->text());
  entered.ShowShaftEncoderStatistics = encoder_statistics_->isChecked();
  entered.HistogramSameTrackOnly = same_track_only_->isChecked();
  entered.EmbedRollKeywordData = embed_roll_info_->isChecked();
  entered.UseAnnFile = use_ann_file_->isChecked();
  return KeepCheckedGroup(entered, settings_, store_);
}

}  // namespace tarvelo::app
