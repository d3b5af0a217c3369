#include "app/dialogs/GeneralSettingsDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

GeneralSettingsDialog::GeneralSettingsDialog(GeneralSettings& settings, ProfileStore& store, QWidget* parent)
    : CheckedDialog(tr("General Settings"), parent), settings_(settings), store_(store) {
  const char* section = GeneralSettings::kSection;
  prefix_ = NamedLineEdit("ScanMidiFilePrefix", ToQString(settings_.ScanMidiFilePrefix));
  suffix_ = NamedLineEdit("ScanMidiFileSuffix", ToQString(settings_.ScanMidiFileSuffix));
  lead_in_ = ProfileNumberField(store, section, "ScanMidiLeadInTime", std::to_string(settings_.ScanMidiLeadInTime));
  speck_length_ = ProfileNumberField(store, section, "SpeckThresholdLength");
  copyright_ = NamedLineEdit("MidiCopyrightInfoString", ToQString(settings_.MidiCopyrightInfoString));
  speck_width_ =
      ProfileNumberField(store, section, "SpeckThresholdWidthPct", std::to_string(settings_.SpeckThresholdWidthPct));
  glitch_distance_ = ProfileNumberField(store, section, "GlitchThresholdDistance");

  auto* name_group = new QGroupBox(tr("ScanImage MIDI File Name Convention"));
  auto* name_row = new QHBoxLayout(name_group);
  name_row->addWidget(new QLabel(tr("Prefix ")));
  name_row->addWidget(prefix_);
  name_row->addWidget(new QLabel(tr(" + Input File Name + ")));
  name_row->addWidget(suffix_);
  name_row->addWidget(new QLabel(tr(" + Suffix  . mid")));

  auto* file_group = new QGroupBox(tr("ScanImage Master MIDI file characteristics"));
  auto* file_form = new QFormLayout(file_group);
  file_form->addRow(SettingLabel(section, lead_in_), lead_in_);

  auto* copyright_group = new QGroupBox(SettingLabel(section, copyright_));
  auto* copyright_layout = new QVBoxLayout(copyright_group);
  copyright_layout->addWidget(copyright_);

  auto* cleanup_group = new QGroupBox(tr("Speck and Glitch Removal Settings"));
  auto* cleanup_form = new QFormLayout(cleanup_group);
  for (QLineEdit* field : {speck_length_, speck_width_, glitch_distance_})
    cleanup_form->addRow(SettingLabel(section, field), field);
  cleanup_form->addRow(NoteLabel(tr("Caution - This should not be used to perform webbing removal")));

  auto* body = new QVBoxLayout;
  body->addWidget(name_group);
  body->addWidget(file_group);
  body->addWidget(copyright_group);
  body->addWidget(cleanup_group);
  SetBody(body);

  for (QWidget* field : {prefix_, suffix_, lead_in_, speck_length_, copyright_, speck_width_, glitch_distance_})
    AddSettingField(field);
}

Result GeneralSettingsDialog::KeepEdits() {
  GeneralSettings entered = settings_;
  entered.ScanMidiFilePrefix = ToUtf8(prefix_->text());
  entered.ScanMidiFileSuffix = ToUtf8(suffix_->text());
  entered.ScanMidiLeadInTime = FieldInt(lead_in_->text());
  entered.SpeckThresholdLength = FieldReal(speck_length_->text());
  entered.MidiCopyrightInfoString = ToUtf8(copyright_->text());
  entered.SpeckThresholdWidthPct = FieldInt(speck_width_->text());
  entered.GlitchThresholdDistance = FieldReal(glitch_distance_->text());
  return KeepCheckedGroup(std::move(entered), settings_, store_);
}

}  // namespace tarvelo::app
