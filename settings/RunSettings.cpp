#include "settings/RunSettings.h"

namespace tarvelo {

RunSettings RunSettings::FromProfile(const ProfileStore& store) {
  return RunSettings{
      ScannerPresets(store).Live(),  GeneralSettings(store),   ERollSettings(store),  DiagnosticSettings(store),
      ActiveTrackingSettings(store), TwinArraySettings(store), OutputSettings(store), RollSettings(store)};
}

}  // namespace tarvelo
