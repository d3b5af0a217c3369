#pragma once
// "Audio Settings": what listening to a roll uses. Neither changes a conversion.

#include <string>

#include "settings/SettingsFields.h"

namespace tarvelo {

struct AudioSettings {
  static constexpr const char* kSection = "Audio Settings";

  static std::span<const SettingField<AudioSettings>> Fields();

  AudioSettings() = default;
  explicit AudioSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

  Result Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

  std::string SoundFont;   // the SoundFont file of the software synthesizer; "": the installed one
  std::string MidiOutput;  // a sequencer port to play to; "": the software synthesizer
};

}  // namespace tarvelo
