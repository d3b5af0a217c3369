#include "settings/ActiveTrackingSettings.h"

namespace tarvelo {

ActiveTrackingSettings::ActiveTrackingSettings(const ProfileStore& store) {
  EventsBetweenUpdates = ReadSettingInt(store, kSection, "EventsBetweenUpdates");
  RollEdgeCaptureDistance = ReadSettingReal(store, kSection, "RollEdgeCaptureDistance");
  TrackingUpdateDistance = ReadSettingReal(store, kSection, "TrackingUpdateDistance");
  EdgeErrorWeightingFactor = ReadSettingReal(store, kSection, "EdgeErrorWeightingFactor");
  TrackingLoopGain = ReadSettingReal(store, kSection, "TrackingLoopGain");
}

Result ActiveTrackingSettings::Save(ProfileStore& store) const {
  ProfileWriter writer(store, kSection);
  writer.Int("EventsBetweenUpdates", EventsBetweenUpdates);
  writer.Real("RollEdgeCaptureDistance", RollEdgeCaptureDistance, 10);
  writer.Real("TrackingUpdateDistance", TrackingUpdateDistance, 10);
  writer.Real("EdgeErrorWeightingFactor", EdgeErrorWeightingFactor, 10);
  writer.Real("TrackingLoopGain", TrackingLoopGain, 10);
  return writer.Outcome();
}

Result ActiveTrackingSettings::Validate() const {
  SettingsCheck check;
  check.Field(kSection, "EventsBetweenUpdates", EventsBetweenUpdates);
  check.Field(kSection, "RollEdgeCaptureDistance", RollEdgeCaptureDistance);
  check.Field(kSection, "TrackingUpdateDistance", TrackingUpdateDistance);
  check.Field(kSection, "EdgeErrorWeightingFactor", EdgeErrorWeightingFactor);
  check.Field(kSection, "TrackingLoopGain", TrackingLoopGain);
  return check.Outcome();
}

}  // namespace tarvelo
