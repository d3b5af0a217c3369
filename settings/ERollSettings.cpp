#include "settings/ERollSettings.h"

namespace tarvelo {

ERollSettings::ERollSettings(const ProfileStore& store) {
  eRollMidiFilePrefix = ReadSettingText(store, kSection, "eRollMidiFilePrefix");
  eRollMidiFileSuffix = ReadSettingText(store, kSection, "eRollMidiFileSuffix");
  eRollMidiLeadInTime = ReadSettingInt(store, kSection, "eRollMidiLeadInTime");
  eRollMidiTrailerTime = ReadSettingInt(store, kSection, "eRollMidiTrailerTime");
  IncludePowerRollEvents = ReadSettingSwitch(store, kSection, "IncludePowerRollEvents");
  IncludeTrack18SustainPedal = ReadSettingSwitch(store, kSection, "IncludeTrack18SustainPedal");
}

Result ERollSettings::Save(ProfileStore& store) const {
  ProfileWriter writer(store, kSection);
  writer.String("eRollMidiFilePrefix", eRollMidiFilePrefix);
  writer.String("eRollMidiFileSuffix", eRollMidiFileSuffix);
  writer.Int("eRollMidiLeadInTime", eRollMidiLeadInTime);
  writer.Int("eRollMidiTrailerTime", eRollMidiTrailerTime);
  writer.Switch("IncludePowerRollEvents", IncludePowerRollEvents);
  writer.Switch("IncludeTrack18SustainPedal", IncludeTrack18SustainPedal);
  return writer.Outcome();
}

Result ERollSettings::Validate() const {
  SettingsCheck check;
  check.Field(kSection, "eRollMidiFilePrefix", eRollMidiFilePrefix);
  check.Field(kSection, "eRollMidiFileSuffix", eRollMidiFileSuffix);
  check.Field(kSection, "eRollMidiLeadInTime", eRollMidiLeadInTime);
  check.Field(kSection, "eRollMidiTrailerTime", eRollMidiTrailerTime);
  return check.Outcome();
}

}  // namespace tarvelo
