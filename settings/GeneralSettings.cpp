#include "settings/GeneralSettings.h"

namespace tarvelo {

namespace {

// In the order Save writes them.
constexpr SettingField<GeneralSettings> kFields[] = {
    {GeneralSettings::kSection, "ScanMidiFilePrefix", &GeneralSettings::ScanMidiFilePrefix},
    {GeneralSettings::kSection, "ScanMidiFileSuffix", &GeneralSettings::ScanMidiFileSuffix},
    {GeneralSettings::kSection, "ScanMidiLeadInTime", &GeneralSettings::ScanMidiLeadInTime},
    {GeneralSettings::kSection, "SpeckThresholdLength", &GeneralSettings::SpeckThresholdLength},
    {GeneralSettings::kSection, "SpeckThresholdWidthPct", &GeneralSettings::SpeckThresholdWidthPct},
    {GeneralSettings::kSection, "MidiCopyrightInfoString", &GeneralSettings::MidiCopyrightInfoString},
    {GeneralSettings::kSection, "GlitchThresholdDistance", &GeneralSettings::GlitchThresholdDistance},
};

}  // namespace

std::span<const SettingField<GeneralSettings>> GeneralSettings::Fields() { return kFields; }

GeneralSettings::GeneralSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

Result GeneralSettings::Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

Result GeneralSettings::Validate() const { return CheckFields(Fields(), *this); }

}  // namespace tarvelo
