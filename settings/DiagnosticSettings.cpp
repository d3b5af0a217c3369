#include "settings/DiagnosticSettings.h"

namespace tarvelo {

DiagnosticSettings::DiagnosticSettings(const ProfileStore& store) {
  WriteCISrawTransitionFile = store.GetProfileInt(kSection, "WriteCISrawTransitionFile", 0) != 0;
  WriteTrackLookUpMapFile = store.GetProfileInt(kSection, "WriteTrackLookUpMapFile", 0) != 0;
  OverrideImageReversal = store.GetProfileInt(kSection, "OverrideImageReversal", 0);
  HistogramMinDisplayDistance = store.GetProfileInt(kSection, "HistogramMinDisplayDistance", 13);
  EncoderTicksToAverage = store.GetProfileInt(kSection, "EncoderTicksToAverage", 2);
  ShowShaftEncoderStatistics = store.GetProfileInt(kSection, "ShowShaftEncoderStatistics", 0) != 0;
  HistogramSameTrackOnly = store.GetProfileInt(kSection, "HistogramSameTrackOnly", 0) != 0;
  EmbedRollKeywordData = store.GetProfileInt(kOutputSection, "EmbedRollKeywordData", 1) != 0;
  UseAnnFile = store.GetProfileInt(kSection, "UseAnnFile", 0) != 0;
  OffTrackWarningPercent = store.GetProfileInt(kSection, "OffTrackWarningPercent", 10);
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
  // The reversal override is a radio group: only its three choices can be picked.
  check.Range("Left/Right Image Reversal Override", OverrideImageReversal, 0LL, 2LL);
  check.Range("Suppress Histogram Data Below This Threshold Spacing (in thousandths of an inch)",
              HistogramMinDisplayDistance, 0LL, 100LL);
  check.Range("Number of Encoder Ticks to average for Shaft Encoder Scanners", EncoderTicksToAverage, 1LL, 20LL);
  check.Range("Warn When More Than This Percent of the Holes Lie Off Their Tracks", OffTrackWarningPercent, 0LL, 100LL);
  return check.Outcome();
}

}  // namespace tarvelo
