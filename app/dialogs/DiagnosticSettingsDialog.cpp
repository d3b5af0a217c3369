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
  raw_transitions_ = NamedCheckBox(tr("Write CIS Raw Transition List File"), "WriteCISrawTransitionFile",
                                   settings_.WriteCISrawTransitionFile);
  lookup_map_ =
      NamedCheckBox(tr("Write Track LookUp Map File"), "WriteTrackLookUpMapFile", settings_.WriteTrackLookUpMapFile);

  reversal_ = new QButtonGroup(this);
  auto* reversal_group = new QGroupBox(tr("Left/Right Image Reversal Override"));
  auto* reversal_layout = new QVBoxLayout(reversal_group);
  const QString reversal_names[] = {tr("Use CIS Bit"), tr("Never Reverse"), tr("Always Reverse")};
  for (int choice = 0; choice < 3; ++choice) {
    auto* button = new QRadioButton(reversal_names[choice]);
    button->setObjectName(QStringLiteral("OverrideImageReversal%1").arg(choice));
    button->setChecked(choice == settings_.OverrideImageReversal);
    reversal_->addButton(button, choice);
    reversal_layout->addWidget(button);
  }

  histogram_minimum_ = ProfileNumberField(store, DiagnosticSettings::kSection, "HistogramMinDisplayDistance",
                                          std::to_string(settings_.HistogramMinDisplayDistance));
  same_track_only_ = NamedCheckBox(tr("Histograms from same track events only"), "HistogramSameTrackOnly",
                                   settings_.HistogramSameTrackOnly);
  auto* histogram_form = new QFormLayout;
  histogram_form->addRow(
      NoteLabel(tr("Suppress Histogram Data Below This Threshold Spacing (in thousandths of an inch)")));
  histogram_form->addRow(histogram_minimum_);
  histogram_form->addRow(same_track_only_);

  encoder_ticks_ = ProfileNumberField(store, DiagnosticSettings::kSection, "EncoderTicksToAverage",
                                      std::to_string(settings_.EncoderTicksToAverage));
  encoder_statistics_ = NamedCheckBox(tr("Show Pop-Up Window With Shaft Encoder Statistics"),
                                      "ShowShaftEncoderStatistics", settings_.ShowShaftEncoderStatistics);
  auto* encoder_group = new QGroupBox(tr("Shaft Encoder Scanner Items"));
  auto* encoder_form = new QFormLayout(encoder_group);
  encoder_form->addRow(NoteLabel(tr("Number of Encoder Ticks to average for Shaft Encoder Scanners")));
  encoder_form->addRow(encoder_ticks_);
  encoder_form->addRow(encoder_statistics_);

  embed_roll_info_ =
      NamedCheckBox(tr("Embed Roll Info During Conversion"), "EmbedRollKeywordData", settings_.EmbedRollKeywordData);
  use_ann_file_ =
      NamedCheckBox(tr("Pre-populate some entries using ANN file data if found"), "UseAnnFile", settings_.UseAnnFile);

  auto* body = new QVBoxLayout;
  body->addWidget(raw_transitions_);
  body->addWidget(lookup_map_);
  body->addWidget(reversal_group);
  body->addLayout(histogram_form);
  body->addWidget(encoder_group);
  body->addWidget(embed_roll_info_);
  body->addWidget(use_ann_file_);
  SetBody(body);

  AddCheckedField("Left/Right Image Reversal Override", reversal_->button(0));
  AddCheckedField("Suppress Histogram Data Below This Threshold Spacing (in thousandths of an inch)",
                  histogram_minimum_);
  AddCheckedField("Number of Encoder Ticks to average for Shaft Encoder Scanners", encoder_ticks_);
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
