#include "settings/OutputSettings.h"

namespace tarvelo {

namespace {

constexpr SettingField<OutputSettings> kOutputFields[] = {
    {OutputSettings::kSection, "ScanMidi", &OutputSettings::ScanMidi},
    {OutputSettings::kSection, "eRollMidi", &OutputSettings::eRollMidi},
    {OutputSettings::kSection, "PunchMidi", &OutputSettings::PunchMidi},
    {OutputSettings::kSection, "LiteralRollInfo", &OutputSettings::LiteralRollInfo},
    {OutputSettings::kSection, "CreditWebAddress", &OutputSettings::CreditWebAddress},
    {OutputSettings::kSection, "WriteExpressionMidi", &OutputSettings::WriteExpressionMidi},
    {OutputSettings::kSection, "ExpressionMidiFilePrefix", &OutputSettings::ExpressionMidiFilePrefix},
    {OutputSettings::kSection, "ExpressionMidiFileSuffix", &OutputSettings::ExpressionMidiFileSuffix},
};

constexpr SettingField<RollSettings> kRollFields[] = {
    {RollSettings::kSection, "ActiveRollTypeName", &RollSettings::ActiveRollTypeName},
};

}  // namespace

std::span<const SettingField<OutputSettings>> OutputSettings::Fields() { return kOutputFields; }

std::span<const SettingField<RollSettings>> RollSettings::Fields() { return kRollFields; }

}  // namespace tarvelo
