#include "settings/ERollSettings.h"

namespace tarvelo {

namespace {

// In the order Save writes them.
constexpr SettingField<ERollSettings> kFields[] = {
    {ERollSettings::kSection, "eRollMidiFilePrefix", &ERollSettings::eRollMidiFilePrefix},
    {ERollSettings::kSection, "eRollMidiFileSuffix", &ERollSettings::eRollMidiFileSuffix},
    {ERollSettings::kSection, "eRollMidiLeadInTime", &ERollSettings::eRollMidiLeadInTime},
    {ERollSettings::kSection, "eRollMidiTrailerTime", &ERollSettings::eRollMidiTrailerTime},
    {ERollSettings::kSection, "IncludePowerRollEvents", &ERollSettings::IncludePowerRollEvents},
    {ERollSettings::kSection, "IncludeTrack18SustainPedal", &ERollSettings::IncludeTrack18SustainPedal},
};

}  // namespace

std::span<const SettingField<ERollSettings>> ERollSettings::Fields() { return kFields; }

ERollSettings::ERollSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

Result ERollSettings::Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

Result ERollSettings::Validate() const { return CheckFields(Fields(), *this); }

}  // namespace tarvelo
