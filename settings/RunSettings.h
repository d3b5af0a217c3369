#pragma once
// Every setting one conversion run reads, as a value. A front end hands it to the document
// when a run starts; settings change only between runs, so a run sees one consistent set
// and two documents on two threads share nothing through their settings.

#include <vector>

#include "settings/ActiveTrackingSettings.h"
#include "settings/CheckedProfile.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"
#include "settings/PictureSettings.h"
#include "settings/ProfileStore.h"
#include "settings/ScannerPresets.h"
#include "settings/TwinArraySettings.h"

namespace tarvelo {

struct RunSettings {
  // Every group as `store` holds it, checked as CheckedProfile checks a run's values; the
  // scanner record is the store's current preset. What the check found is in ProfileFindings.
  static RunSettings FromProfile(const ProfileStore& store);

  ScannerSettings Scanner;  // the live scanner record (current preset, with any offset nudge)
  GeneralSettings General;
  ERollSettings ERoll;
  DiagnosticSettings Diagnostic;
  ActiveTrackingSettings Tracking;
  TwinArraySettings TwinArray;
  OutputSettings Outputs;
  RollSettings Roll;
  PictureSettings Picture;  // how a picture of a roll is read (a CIS file ignores them)
  // Values of the profile that are not what their dialogs accept, and what is used instead:
  // the document reports each as a warning at the start of every run.
  std::vector<SettingFinding> ProfileFindings;
};

}  // namespace tarvelo
