#pragma once
// The settings a front end keeps for a whole session (the objects the main window owns):
// the scanner presets with the live record, the five settings groups, the output switches
// and the active roll type name, all loaded from one profile. A run gets a copy of them as
// a RunSettings value (ForRun) when it starts.

#include <vector>

#include "settings/ActiveTrackingSettings.h"
#include "settings/CheckedProfile.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"
#include "settings/PictureSettings.h"
#include "settings/ProfileStore.h"
#include "settings/RunSettings.h"
#include "settings/ScannerPresets.h"
#include "settings/TwinArraySettings.h"

namespace tarvelo {

class SessionSettings {
 public:
  // Loads every group through a CheckedProfile: values the dialogs would refuse are replaced or
  // kept as that check says, and its findings are kept for the runs.
  explicit SessionSettings(ProfileStore& store) : SessionSettings(store, CheckedProfile(store)) {}

  ProfileStore& Profile() const { return store_; }

  // Loads every group again from the profile (the live scanner record included).
  void Reload();

  // The settings of a run that starts now: the live scanner record and every group as held,
  // with the findings of the load that still hold (a finding lapses once the profile holds
  // another value for its key, as after a dialog's OK, or once its preset is no longer current).
  RunSettings ForRun() const;

  TwinArraySettings TwinArray;
  ERollSettings ERoll;
  GeneralSettings General;
  ActiveTrackingSettings Tracking;
  DiagnosticSettings Diagnostic;
  ScannerPresets Presets;
  OutputSettings Outputs;
  RollSettings Roll;
  PictureSettings Picture;

 private:
  SessionSettings(ProfileStore& store, const CheckedProfile& checked)
      : TwinArray(checked),
        ERoll(checked),
        General(checked),
        Tracking(checked),
        Diagnostic(checked),
        Presets(checked),
        Outputs(checked),
        Roll(checked),
        store_(store),
        findings_(checked.Findings()) {}

  ProfileStore& store_;
  std::vector<SettingFinding> findings_;  // what loading the groups found in the profile
};

}  // namespace tarvelo
