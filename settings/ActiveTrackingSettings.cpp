#include "settings/ActiveTrackingSettings.h"

namespace tarvelo {

ActiveTrackingSettings::ActiveTrackingSettings(const ProfileStore& store) {
  EventsBetweenUpdates = store.GetProfileInt(kSection, "EventsBetweenUpdates", 25);
  RollEdgeCaptureDistance = ReadProfileReal(store, kSection, "RollEdgeCaptureDistance", "0.1");
  TrackingUpdateDistance = ReadProfileReal(store, kSection, "TrackingUpdateDistance", "0.5");
  EdgeErrorWeightingFactor = ReadProfileReal(store, kSection, "EdgeErrorWeightingFactor", "0.20");
  TrackingLoopGain = ReadProfileReal(store, kSection, "TrackingLoopGain", "0.60");
}

bool ActiveTrackingSettings::Save(ProfileStore& store) const {
  bool ok = store.WriteProfileInt(kSection, "EventsBetweenUpdates", EventsBetweenUpdates);
  ok &= WriteProfileReal(store, kSection, "RollEdgeCaptureDistance", RollEdgeCaptureDistance, 10);
  ok &= WriteProfileReal(store, kSection, "TrackingUpdateDistance", TrackingUpdateDistance, 10);
  ok &= WriteProfileReal(store, kSection, "EdgeErrorWeightingFactor", EdgeErrorWeightingFactor, 10);
  ok &= WriteProfileReal(store, kSection, "TrackingLoopGain", TrackingLoopGain, 10);
  return ok;
}

SettingsProblems ActiveTrackingSettings::Validate() const {
  SettingsProblems problems;
  CheckRange(problems, "Min number of events between updates", EventsBetweenUpdates, 1LL, 1000LL);
  CheckRange(problems, "Roll Edge Capture Distance", RollEdgeCaptureDistance, 0.0, 0.5);
  CheckRange(problems, "Distance Between Tracking Updates", TrackingUpdateDistance, 0.1, 10.0);
  CheckRange(problems, "Edge Error Weighting Factor ( less than 1.0 )", EdgeErrorWeightingFactor, 0.0, 1.0);
  CheckRange(problems, "Tracking Loop Gain ( less than 1.0 )", TrackingLoopGain, 0.0, 1.0);
  return problems;
}

}  // namespace tarvelo
