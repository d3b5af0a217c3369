#pragma once
// "Midi Gen Settings": ScanImage MIDI file naming, lead-in, copyright text and the
// speck and glitch thresholds of the hole clean-up.

#include <string>

#include "settings/SettingsFields.h"

namespace tarvelo {

class GeneralSettings {
 public:
  static constexpr const char* kSection = "Midi Gen Settings";
  // Every setting of the group, bound to its member, in the order Save writes them.
  static std::span<const SettingField<GeneralSettings>> Fields();

  // Loads every key of the section, with its default when absent.
  explicit GeneralSettings(const ProfileStore& store);
  GeneralSettings() = default;  // all zero / empty

  // Writes every key, in the order the dialog saves them.
  Result Save(ProfileStore& store) const;
  // The checks of the dialog's OK button.
  Result Validate() const;

  std::string ScanMidiFilePrefix;
  std::string ScanMidiFileSuffix;
  int ScanMidiLeadInTime = 0;       // seconds
  double SpeckThresholdLength = 0;  // inches
  std::string MidiCopyrightInfoString;
  int SpeckThresholdWidthPct = 0;      // percent of the track spacing
  double GlitchThresholdDistance = 0;  // inches
};

}  // namespace tarvelo
