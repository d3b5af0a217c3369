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

bool GeneralSettings::Save(ProfileStore& store) const {
  bool ok = store.WriteProfileString(kSection, "ScanMidiFilePrefix", ScanMidiFilePrefix);
  ok &= store.WriteProfileString(kSection, "ScanMidiFileSuffix", ScanMidiFileSuffix);
  ok &= store.WriteProfileInt(kSection, "ScanMidiLeadInTime", ScanMidiLeadInTime);
  ok &= WriteProfileReal(store, kSection, "SpeckThresholdLength", SpeckThresholdLength, 10);
  ok &= store.WriteProfileInt(kSection, "SpeckThresholdWidthPct", SpeckThresholdWidthPct);
  ok &= store.WriteProfileString(kSection, "MidiCopyrightInfoString", MidiCopyrightInfoString);
  ok &= WriteProfileReal(store, kSection, "GlitchThresholdDistance", GlitchThresholdDistance, 10);
  return ok;
}

SettingsProblems GeneralSettings::Validate() const {
  SettingsProblems problems;
  CheckLength(problems, "Prefix", ScanMidiFilePrefix, 64);
  CheckLength(problems, "Suffix", ScanMidiFileSuffix, 64);
  CheckRange(problems, "Lead - In time in seconds", ScanMidiLeadInTime, 0LL, 10LL);
  CheckRange(problems, "Remove as speck if length less than (inches)", SpeckThresholdLength, 0.0, 1.0);
  CheckLength(problems, "Default Copyright Text For MIDI files", MidiCopyrightInfoString, 127);
  CheckRange(problems, "Remove as speck if width less than (percent of track)", SpeckThresholdWidthPct, 1LL, 100LL);
  CheckRange(problems, "Merge holes if separated by less than (inches)", GlitchThresholdDistance, 0.0, 1.0);
  return problems;
}

}  // namespace tarvelo
