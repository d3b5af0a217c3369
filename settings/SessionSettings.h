#pragma once
// The settings a front end keeps for a whole session (the objects the main window owns):
// the scanner presets with the live record, the five settings groups, the output switches
// and the active roll type name, all loaded from one profile.
//
// Stages that must see the profile as it is at that moment construct a fresh group from
// the profile instead (for example DiagnosticSettings for the encoder options).

#include "settings/ActiveTrackingSettings.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"
#include "settings/ProfileStore.h"
#include "settings/ScannerPresets.h"
#include "settings/TwinArraySettings.h"

namespace tarvelo {

class SessionSettings {
 public:
  explicit SessionSettings(ProfileStore& store)
      : store_(store),
        twin_array(store),
        eroll(store),
        general(store),
        tracking(store),
        diagnostic(store),
        presets(store),
        outputs(store),
        roll(store) {}

  ProfileStore& Profile() const { return store_; }

  // Loads every group again from the profile (the live scanner record included).
  void Reload() {
    twin_array = TwinArraySettings(store_);
    eroll = ERollSettings(store_);
    general = GeneralSettings(store_);
    tracking = ActiveTrackingSettings(store_);
    diagnostic = DiagnosticSettings(store_);
    presets = ScannerPresets(store_);
    outputs = OutputSettings(store_);
    roll = RollSettings(store_);
  }

 private:
  ProfileStore& store_;

 public:
  TwinArraySettings twin_array;
  ERollSettings eroll;
  GeneralSettings general;
  ActiveTrackingSettings tracking;
  DiagnosticSettings diagnostic;
  ScannerPresets presets;
  OutputSettings outputs;
  RollSettings roll;
};

}  // namespace tarvelo
