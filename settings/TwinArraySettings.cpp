#include "settings/TwinArraySettings.h"

namespace tarvelo {

namespace {

// In the order Save writes them.
constexpr SettingField<TwinArraySettings> kFields[] = {
    {TwinArraySettings::kSection, "OverrideCISvalues", &TwinArraySettings::OverrideCISvalues},
    {TwinArraySettings::kSection, "BlendWidthInThousandths", &TwinArraySettings::BlendWidthInThousandths},
    {TwinArraySettings::kSection, "ShowCrossoverLine", &TwinArraySettings::ShowCrossoverLine},
    {TwinArraySettings::kSection, "DisableTwinArrayProcessing", &TwinArraySettings::DisableTwinArrayProcessing},
};

}  // namespace

std::span<const SettingField<TwinArraySettings>> TwinArraySettings::Fields() { return kFields; }

TwinArraySettings::TwinArraySettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

Result TwinArraySettings::Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

Result TwinArraySettings::Validate() const { return CheckFields(Fields(), *this); }

}  // namespace tarvelo
