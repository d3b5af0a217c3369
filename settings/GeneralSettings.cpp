#include "settings/GeneralSettings.h"

namespace tarvelo {

GeneralSettings::GeneralSettings(const ProfileStore& store) {
  ScanMidiFilePrefix = ReadSettingText(store, kSection, "ScanMidiFilePrefix");
  ScanMidiFileSuffix = ReadSettingText(store, kSection, "ScanMidiFileSuffix");
  ScanMidiLeadInTime = ReadSettingInt(store, kSection, "ScanMidiLeadInTime");
  SpeckThresholdLength = ReadSettingReal(store, kSection, "SpeckThresholdLength");
  MidiCopyrightInfoString = ReadSettingText(store, kSection, "MidiCopyrightInfoString");
  SpeckThresholdWidthPct = ReadSettingInt(store, kSection, "SpeckThresholdWidthPct");
  GlitchThresholdDistance = ReadSettingReal(store, kSection, "GlitchThresholdDistance");
}

Result GeneralSettings::Save(ProfileStore& store) const {
  ProfileWriter writer(store, kSection);
  writer.String("ScanMidiFilePrefix", ScanMidiFilePrefix);
  writer.String("ScanMidiFileSuffix", ScanMidiFileSuffix);
  writer.Int("ScanMidiLeadInTime", ScanMidiLeadInTime);
  writer.Real("SpeckThresholdLength", SpeckThresholdLength, 10);
  writer.Int("SpeckThresholdWidthPct", SpeckThresholdWidthPct);
  writer.String("MidiCopyrightInfoString", MidiCopyrightInfoString);
  writer.Real("GlitchThresholdDistance", GlitchThresholdDistance, 10);
  return writer.Outcome();
}

Result GeneralSettings::Validate() const {
  SettingsCheck check;
  check.Field(kSection, "ScanMidiFilePrefix", ScanMidiFilePrefix);
  check.Field(kSection, "ScanMidiFileSuffix", ScanMidiFileSuffix);
  check.Field(kSection, "ScanMidiLeadInTime", ScanMidiLeadInTime);
  check.Field(kSection, "SpeckThresholdLength", SpeckThresholdLength);
  check.Field(kSection, "MidiCopyrightInfoString", MidiCopyrightInfoString);
  check.Field(kSection, "SpeckThresholdWidthPct", SpeckThresholdWidthPct);
  check.Field(kSection, "GlitchThresholdDistance", GlitchThresholdDistance);
  return check.Outcome();
}

}  // namespace tarvelo
