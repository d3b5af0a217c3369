#pragma once
// "Midi eRoll Settings": eRoll MIDI file naming, lead-in and trailer, and which
// controller events the eRoll file carries.

#include <string>

#include "settings/SettingsFields.h"

namespace tarvelo {

class ERollSettings {
 public:
  static constexpr const char* kSection = "Midi eRoll Settings";
  // Every setting of the group, bound to its member, in the order Save writes them.
  static std::span<const SettingField<ERollSettings>> Fields();

  explicit ERollSettings(const ProfileStore& store);
  ERollSettings() = default;

  Result Save(ProfileStore& store) const;
  Result Validate() const;

  std::string eRollMidiFilePrefix;
  std::string eRollMidiFileSuffix;
  int eRollMidiLeadInTime = 0;   // seconds
  int eRollMidiTrailerTime = 0;  // seconds
  bool IncludePowerRollEvents = false;
  bool IncludeTrack18SustainPedal = false;
};

}  // namespace tarvelo
