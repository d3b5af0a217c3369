#pragma once
// The settings a front end keeps for a whole session (the objects the main window owns):
// the scanner presets with the live record, the five settings groups, the output switches
// and the active roll type name, all loaded from one profile. A run gets a copy of them as
// a RunSettings value (ForRun) when it starts.

#include "settings/ActiveTrackingSettings.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"
#include "settings/ProfileStore.h"
#include "settings/RunSettings.h"
#include "settings/ScannerPresets.h"
#include "settings/TwinArraySettings.h"

namespace tarvelo {

class SessionSettings {
 public:
  explicit SessionSettings(ProfileStore& store)
      : TwinArray(store),
        ERoll(store),
        General(store),
        Tracking(store),
        Diagnostic(store),
        Presets(store),
        Outputs(store),
        Roll(store),
        store_(store) {}

  ProfileStore& Profile() const { return store_; }

  // Loads every group again from the profile (the live scanner record included).
  void Reload() {
    TwinArray = TwinArraySettings(store_);
    ERoll = ERollSettings(store_);
    General = GeneralSettings(store_);
    Tracking = ActiveTrackingSettings(store_);
    Diagnostic = DiagnosticSettings(store_);
    Presets = ScannerPresets(store_);
    Outputs = OutputSettings(store_);
    Roll = RollSettings(store_);
  }

  // The settings of a run that starts now: the live scanner record and every group as held.
  RunSettings ForRun() const {
    return RunSettings{Presets.Live(), General, ERoll, Diagnostic, Tracking, TwinArray, Outputs, Roll};
  }

  TwinArraySettings TwinArray;
  ERollSettings ERoll;
  GeneralSettings General;
  ActiveTrackingSettings Tracking;
  DiagnosticSettings Diagnostic;
  ScannerPresets Presets;
  OutputSettings Outputs;
  RollSettings Roll;

 private:
  ProfileStore& store_;
};

}  // namespace tarvelo
