#pragma once
// "Audio Settings": what listening to a roll uses. Neither changes a conversion.

#include <string>

#include "settings/SettingsIo.h"

namespace tarvelo {

struct AudioSettings {
  static constexpr const char* kSection = "Audio Settings";

  AudioSettings() = default;
  explicit AudioSettings(const ProfileStore& store)
      : SoundFont(ReadSettingText(store, kSection, "SoundFont")),
        MidiOutput(ReadSettingText(store, kSection, "MidiOutput")) {}

  Result Save(ProfileStore& store) const {
    ProfileWriter writer(store, kSection);
    writer.String("SoundFont", SoundFont);
    writer.String("MidiOutput", MidiOutput);
    return writer.Outcome();
  }

  std::string SoundFont;   // the SoundFont file of the software synthesizer; "": the installed one
  std::string MidiOutput;  // a sequencer port to play to; "": the software synthesizer
};

}  // namespace tarvelo
