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

bool ERollSettings::Save(ProfileStore& store) const {
  bool ok = store.WriteProfileString(kSection, "eRollMidiFilePrefix", eRollMidiFilePrefix);
  ok &= store.WriteProfileString(kSection, "eRollMidiFileSuffix", eRollMidiFileSuffix);
  ok &= store.WriteProfileInt(kSection, "eRollMidiLeadInTime", eRollMidiLeadInTime);
  ok &= store.WriteProfileInt(kSection, "eRollMidiTrailerTime", eRollMidiTrailerTime);
  ok &= store.WriteProfileInt(kSection, "IncludePowerRollEvents", IncludePowerRollEvents ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, "IncludeTrack18SustainPedal", IncludeTrack18SustainPedal ? 1 : 0);
  return ok;
}

SettingsProblems ERollSettings::Validate() const {
  SettingsProblems problems;
  CheckLength(problems, "Prefix", eRollMidiFilePrefix, 32);
  CheckLength(problems, "Suffix", eRollMidiFileSuffix, 32);
  CheckRange(problems, "Lead - In time in seconds", eRollMidiLeadInTime, 0LL, 10LL);
  CheckRange(problems, "Trailer time in seconds", eRollMidiTrailerTime, 0LL, 10LL);
  return problems;
}

}  // namespace tarvelo
