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
}

bool DiagnosticSettings::Save(ProfileStore& store) const {
  bool ok = store.WriteProfileInt(kSection, "WriteCISrawTransitionFile", WriteCISrawTransitionFile ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, "WriteTrackLookUpMapFile", WriteTrackLookUpMapFile ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, "OverrideImageReversal", OverrideImageReversal);
  ok &= store.WriteProfileInt(kSection, "HistogramMinDisplayDistance", HistogramMinDisplayDistance);
  ok &= store.WriteProfileInt(kSection, "EncoderTicksToAverage", EncoderTicksToAverage);
  ok &= store.WriteProfileInt(kSection, "ShowShaftEncoderStatistics", ShowShaftEncoderStatistics ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, "HistogramSameTrackOnly", HistogramSameTrackOnly ? 1 : 0);
  ok &= store.WriteProfileInt(kOutputSection, "EmbedRollKeywordData", EmbedRollKeywordData ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, "UseAnnFile", UseAnnFile ? 1 : 0);
  return ok;
}

SettingsProblems DiagnosticSettings::Validate() const {
  SettingsProblems problems;
  // The reversal override is a radio group: only its three choices can be picked.
  CheckRange(problems, "Left/Right Image Reversal Override", OverrideImageReversal, 0LL, 2LL);
  CheckRange(problems,
             "Suppress Histogram Data Below This Threshold Spacing (in thousandths of an inch)",
             HistogramMinDisplayDistance, 0LL, 100LL);
  CheckRange(problems, "Number of Encoder Ticks to average for Shaft Encoder Scanners", EncoderTicksToAverage, 1LL,
             20LL);
  return problems;
}

}  // namespace tarvelo
