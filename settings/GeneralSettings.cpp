#include "settings/GeneralSettings.h"

namespace tarvelo {

GeneralSettings::GeneralSettings(const ProfileStore& store) {
  ScanMidiFilePrefix = store.GetProfileString(kSection, "ScanMidiFilePrefix", "");
  ScanMidiFileSuffix = store.GetProfileString(kSection, "ScanMidiFileSuffix", "_ScanImageMIDI");
  ScanMidiLeadInTime = store.GetProfileInt(kSection, "ScanMidiLeadInTime", 2);
  SpeckThresholdLength = ReadProfileReal(store, kSection, "SpeckThresholdLength", "0.020");
  MidiCopyrightInfoString = store.GetProfileString(kSection, "MidiCopyrightInfoString", "copyright info here");
  SpeckThresholdWidthPct = store.GetProfileInt(kSection, "SpeckThresholdWidthPct", 15);
  GlitchThresholdDistance = ReadProfileReal(store, kSection, "GlitchThresholdDistance", "0.01");
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
  check.Length("Prefix", ScanMidiFilePrefix, 64);
  check.Length("Suffix", ScanMidiFileSuffix, 64);
  check.Range("Lead - In time in seconds", ScanMidiLeadInTime, 0LL, 10LL);
  check.Range("Remove as speck if length less than (inches)", SpeckThresholdLength, 0.0, 1.0);
  check.Length("Default Copyright Text For MIDI files", MidiCopyrightInfoString, 127);
  check.Range("Remove as speck if width less than (percent of track)", SpeckThresholdWidthPct, 1LL, 100LL);
  check.Range("Merge holes if separated by less than (inches)", GlitchThresholdDistance, 0.0, 1.0);
  return check.Outcome();
}

}  // namespace tarvelo
