#pragma once
// "ActiveTrackingParameters": the roll-edge tracking loop's distances, weighting and gain.
// Tracking itself is switched on and off in the scanner preset.

#include "settings/SettingsFields.h"

namespace tarvelo {

class ActiveTrackingSettings {
 public:
  static constexpr const char* kSection = "ActiveTrackingParameters";
  // Every setting of the group, bound to its member, in the order Save writes them.
  static std::span<const SettingField<ActiveTrackingSettings>> Fields();

  explicit ActiveTrackingSettings(const ProfileStore& store);
  ActiveTrackingSettings() = default;

  Result Save(ProfileStore& store) const;
  Result Validate() const;

  int EventsBetweenUpdates = 0;        // stored only
  double RollEdgeCaptureDistance = 0;  // inches
  double TrackingUpdateDistance = 0;   // inches
  double EdgeErrorWeightingFactor = 0;
  double TrackingLoopGain = 0;
};

}  // namespace tarvelo
