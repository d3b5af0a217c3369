#include "app/dialogs/ERollSettingsDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

ERollSettingsDialog::ERollSettingsDialog(ERollSettings& settings, ProfileStore& store, QWidget* parent)
    : CheckedDialog(tr("eRoll MIDI Settings "), parent), settings_(settings), store_(store) {
  prefix_ = NamedLineEdit("eRollMidiFilePrefix", ToQString(settings_.eRollMidiFilePrefix));
  suffix_ = NamedLineEdit("eRollMidiFileSuffix", ToQString(settings_.eRollMidiFileSuffix));
  const char* section = ERollSettings::kSection;
  lead_in_ = ProfileNumberField(store, section, "eRollMidiLeadInTime", std::to_string(settings_.eRollMidiLeadInTime));
  trailer_ = ProfileNumberField(store, section, "eRollMidiTrailerTime", std::to_string(settings_.eRollMidiTrailerTime));
  power_roll_ = SettingCheckBox(section, "IncludePowerRollEvents", settings_.IncludePowerRollEvents);
  sustain_pedal_ = SettingCheckBox(section, "IncludeTrack18SustainPedal", settings_.IncludeTrack18SustainPedal);

  auto* name_group = new QGroupBox(tr("eRoll MIDI File Name Convention"));
  auto* name_row = new QHBoxLayout(name_group);
  name_row->addWidget(new QLabel(tr("Prefix ")));
  name_row->addWidget(prefix_);
  name_row->addWidget(new QLabel(tr(" + Input File Name + ")));
  name_row->addWidget(suffix_);
  name_row->addWidget(new QLabel(tr(" + Suffix  . mid")));

  auto* time_group = new QGroupBox(tr("ScanImage Master MIDI file characteristics"));
  auto* time_form = new QFormLayout(time_group);
  time_form->addRow(SettingLabel(section, lead_in_), lead_in_);
  time_form->addRow(SettingLabel(section, trailer_), trailer_);

  auto* body = new QVBoxLayout;
  body->addWidget(name_group);
  body->addWidget(time_group);
  body->addWidget(power_roll_);
  body->addWidget(sustain_pedal_);
  SetBody(body);

  for (QWidget* field : {prefix_, suffix_, lead_in_, trailer_}) AddSettingField(field);
}

Result ERollSettingsDialog::KeepEdits() {
  ERollSettings entered = settings_;
  entered.eRollMidiFilePrefix = ToUtf8(prefix_->text());
  entered.eRollMidiFileSuffix = ToUtf8(suffix_->text());
  entered.eRollMidiLeadInTime = FieldInt(lead_in_->text());
  entered.eRollMidiTrailerTime = FieldInt(trailer_->text());
  entered.IncludePowerRollEvents = power_roll_->isChecked();
  entered.IncludeTrack18SustainPedal = sustain_pedal_->isChecked();
  return KeepCheckedGroup(std::move(entered), settings_, store_);
}

}  // namespace tarvelo::app
