#include "settings/DiagnosticSettings.h"

namespace tarvelo {

DiagnosticSettings::DiagnosticSettings(const ProfileStore& store) {
  WriteCISrawTransitionFile = ReadSettingSwitch(store, kSection, "WriteCISrawTransitionFile");
  WriteTrackLookUpMapFile = ReadSettingSwitch(store, kSection, "WriteTrackLookUpMapFile");
  OverrideImageReversal = ReadSettingInt(store, kSection, "OverrideImageReversal");
  HistogramMinDisplayDistance = ReadSettingInt(store, kSection, "HistogramMinDisplayDistance");
  EncoderTicksToAverage = ReadSettingInt(store, kSection, "EncoderTicksToAverage");
  ShowShaftEncoderStatistics = ReadSettingSwitch(store, kSection, "ShowShaftEncoderStatistics");
  HistogramSameTrackOnly = ReadSettingSwitch(store, kSection, "HistogramSameTrackOnly");
  EmbedRollKeywordData = ReadSettingSwitch(store, kOutputSection, "EmbedRollKeywordData");
  UseAnnFile = ReadSettingSwitch(store, kSection, "UseAnnFile");
  OffTrackWarningPercent = ReadSettingInt(store, kSection, "OffTrackWarningPercent");
}

Result DiagnosticSettings::Save(ProfileStore& store) const {
  ProfileWriter writer(store, kSection);
  writer.Switch("WriteCISrawTransitionFile", WriteCISrawTransitionFile);
  writer.Switch("WriteTrackLookUpMapFile", WriteTrackLookUpMapFile);
  writer.Int("OverrideImageReversal", OverrideImageReversal);
  writer.Int("HistogramMinDisplayDistance", HistogramMinDisplayDistance);
  writer.Int("EncoderTicksToAverage", EncoderTicksToAverage);
  writer.Switch("ShowShaftEncoderStatistics", ShowShaftEncoderStatistics);
  writer.Switch("HistogramSameTrackOnly", HistogramSameTrackOnly);
  writer.SetSection(kOutputSection);
  writer.Switch("EmbedRollKeywordData", EmbedRollKeywordData);
  writer.SetSection(kSection);
  writer.Switch("UseAnnFile", UseAnnFile);
  writer.Int("OffTrackWarningPercent", OffTrackWarningPercent);
  return writer.Outcome();
}

Result DiagnosticSettings::Validate() const {
  SettingsCheck check;
  check.Field(kSection, "OverrideImageReversal", OverrideImageReversal);
  check.Field(kSection, "HistogramMinDisplayDistance", HistogramMinDisplayDistance);
  check.Field(kSection, "EncoderTicksToAverage", EncoderTicksToAverage);
  check.Field(kSection, "OffTrackWarningPercent", OffTrackWarningPercent);
  return check.Outcome();
}

}  // namespace tarvelo
