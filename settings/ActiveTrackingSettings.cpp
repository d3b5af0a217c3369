#include "settings/ActiveTrackingSettings.h"

namespace tarvelo {

ActiveTrackingSettings::ActiveTrackingSettings(const ProfileStore& store) {
  EventsBetweenUpdates = store.GetProfileInt(kSection, "EventsBetweenUpdates", 25);
  RollEdgeCaptureDistance = ReadProfileReal(store, kSection, "RollEdgeCaptureDistance", "0.1");
  TrackingUpdateDistance = ReadProfileReal(store, kSection, "TrackingUpdateDistance", "0.5");
  EdgeErrorWeightingFactor = ReadProfileReal(store, kSection, "EdgeErrorWeightingFactor", "0.20");
  TrackingLoopGain = ReadProfileReal(store, kSection, "TrackingLoopGain", "0.60");
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
  check.Range("Min number of events between updates", EventsBetweenUpdates, 1LL, 1000LL);
  check.Range("Roll Edge Capture Distance", RollEdgeCaptureDistance, 0.0, 0.5);
  check.Range("Distance Between Tracking Updates", TrackingUpdateDistance, 0.1, 10.0);
  check.Range("Edge Error Weighting Factor ( less than 1.0 )", EdgeErrorWeightingFactor, 0.0, 1.0);
  check.Range("Tracking Loop Gain ( less than 1.0 )", TrackingLoopGain, 0.0, 1.0);
  return check.Outcome();
}

}  // namespace tarvelo
