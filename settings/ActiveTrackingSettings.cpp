#include "settings/ActiveTrackingSettings.h"

namespace tarvelo {

namespace {

// In the order Save writes them.
constexpr SettingField<ActiveTrackingSettings> kFields[] = {
    {ActiveTrackingSettings::kSection, "EventsBetweenUpdates", &ActiveTrackingSettings::EventsBetweenUpdates},
    {ActiveTrackingSettings::kSection, "RollEdgeCaptureDistance", &ActiveTrackingSettings::RollEdgeCaptureDistance},
    {ActiveTrackingSettings::kSection, "TrackingUpdateDistance", &ActiveTrackingSettings::TrackingUpdateDistance},
    {ActiveTrackingSettings::kSection, "EdgeErrorWeightingFactor", &ActiveTrackingSettings::EdgeErrorWeightingFactor},
    {ActiveTrackingSettings::kSection, "TrackingLoopGain", &ActiveTrackingSettings::TrackingLoopGain},
};

}  // namespace

std::span<const SettingField<ActiveTrackingSettings>> ActiveTrackingSettings::Fields() { return kFields; }

ActiveTrackingSettings::ActiveTrackingSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

Result ActiveTrackingSettings::Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

Result ActiveTrackingSettings::Validate() const { return CheckFields(Fields(), *this); }

}  // namespace tarvelo
