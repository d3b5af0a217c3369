#include "settings/AudioSettings.h"

namespace tarvelo {

namespace {

constexpr SettingField<AudioSettings> kFields[] = {
    {AudioSettings::kSection, "SoundFont", &AudioSettings::SoundFont},
    {AudioSettings::kSection, "MidiOutput", &AudioSettings::MidiOutput},
};

}  // namespace

std::span<const SettingField<AudioSettings>> AudioSettings::Fields() { return kFields; }

}  // namespace tarvelo
