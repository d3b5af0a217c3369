#pragma once
// "Diagnostic Settings" (and EmbedRollKeywordData of "OutputFiles"): diagnostic files,
// image reversal override, histogram and shaft encoder options, roll information sources.

#include "settings/SettingsFields.h"

namespace tarvelo {

class DiagnosticSettings {
 public:
  static constexpr const char* kSection = "Diagnostic Settings";
  static constexpr const char* kOutputSection = "OutputFiles";
  // Every setting of the group, bound to its member, in the order Save writes them.
  static std::span<const SettingField<DiagnosticSettings>> Fields();

  // Values of OverrideImageReversal.
  static constexpr int kUseCisBit = 0;
  static constexpr int kNeverReverse = 1;
  static constexpr int kAlwaysReverse = 2;

  explicit DiagnosticSettings(const ProfileStore& store);
  DiagnosticSettings() = default;

  Result Save(ProfileStore& store) const;
  Result Validate() const;

  bool WriteCISrawTransitionFile = false;
  bool WriteTrackLookUpMapFile = false;
  int OverrideImageReversal = 0;
  int HistogramMinDisplayDistance = 0;  // thousandths of an inch
  int EncoderTicksToAverage = 0;
  bool ShowShaftEncoderStatistics = false;
  bool HistogramSameTrackOnly = false;
  bool EmbedRollKeywordData = false;  // stored in "OutputFiles"
  bool UseAnnFile = false;
  // Every conversion warns when more than this share (percent) of its holes lie off their
  // tracks; 100 never warns.
  int OffTrackWarningPercent = 10;
};

}  // namespace tarvelo
