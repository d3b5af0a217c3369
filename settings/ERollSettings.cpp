#include "settings/ERollSettings.h"

namespace tarvelo {

ERollSettings::ERollSettings(const ProfileStore& store) {
  eRollMidiFilePrefix = store.GetProfileString(kSection, "eRollMidiFilePrefix", "");
  eRollMidiFileSuffix = store.GetProfileString(kSection, "eRollMidiFileSuffix", "_eRollMIDI");
  eRollMidiLeadInTime = store.GetProfileInt(kSection, "eRollMidiLeadInTime", 2);
  eRollMidiTrailerTime = store.GetProfileInt(kSection, "eRollMidiTrailerTime", 2);
  IncludePowerRollEvents = store.GetProfileInt(kSection, "IncludePowerRollEvents", 1) != 0;
  IncludeTrack18SustainPedal = store.GetProfileInt(kSection, "IncludeTrack18SustainPedal", 1) != 0;
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
  check.Length("Prefix", eRollMidiFilePrefix, 32);
  check.Length("Suffix", eRollMidiFileSuffix, 32);
  check.Range("Lead - In time in seconds", eRollMidiLeadInTime, 0LL, 10LL);
  check.Range("Trailer time in seconds", eRollMidiTrailerTime, 0LL, 10LL);
  return check.Outcome();
}

}  // namespace tarvelo
