#include "settings/RunSettings.h"

namespace tarvelo {

RunSettings RunSettings::FromProfile(const ProfileStore& store) {
  const CheckedProfile checked(store);
  // The groups are read in this order (braced initialisers run left to right), so the
  // findings follow the profile's order.
  RunSettings settings{ScannerPresets(checked).Live(),  GeneralSettings(checked),
                       ERollSettings(checked),          DiagnosticSettings(checked),
                       ActiveTrackingSettings(checked), TwinArraySettings(checked),
                       OutputSettings(checked),         RollSettings(checked),
                       PictureSettings(checked),        {}};
  settings.ProfileFindings = checked.Findings();
  return settings;
}

}  // namespace tarvelo
