#include "settings/DiagnosticSettings.h"

namespace tarvelo {

namespace {

// In the order Save writes them.
constexpr SettingField<DiagnosticSettings> kFields[] = {
    {DiagnosticSettings::kSection, "WriteCISrawTransitionFile", &DiagnosticSettings::WriteCISrawTransitionFile},
    {DiagnosticSettings::kSection, "WriteTrackLookUpMapFile", &DiagnosticSettings::WriteTrackLookUpMapFile},
    {DiagnosticSettings::kSection, "OverrideImageReversal", &DiagnosticSettings::OverrideImageReversal},
    {DiagnosticSettings::kSection, "HistogramMinDisplayDistance", &DiagnosticSettings::HistogramMinDisplayDistance},
    {DiagnosticSettings::kSection, "EncoderTicksToAverage", &DiagnosticSettings::EncoderTicksToAverage},
    {DiagnosticSettings::kSection, "ShowShaftEncoderStatistics", &DiagnosticSettings::ShowShaftEncoderStatistics},
    {DiagnosticSettings::kSection, "HistogramSameTrackOnly", &DiagnosticSettings::HistogramSameTrackOnly},
    {DiagnosticSettings::kOutputSection, "EmbedRollKeywordData", &DiagnosticSettings::EmbedRollKeywordData},
    {DiagnosticSettings::kSection, "UseAnnFile", &DiagnosticSettings::UseAnnFile},
    {DiagnosticSettings::kSection, "OffTrackWarningPercent", &DiagnosticSettings::OffTrackWarningPercent},
};

}  // namespace

std::span<const SettingField<DiagnosticSettings>> DiagnosticSettings::Fields() { return kFields; }

DiagnosticSettings::DiagnosticSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

Result DiagnosticSettings::Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

Result DiagnosticSettings::Validate() const { return CheckFields(Fields(), *this); }

}  // namespace tarvelo
