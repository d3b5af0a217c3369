#pragma once
// Every setting one conversion run reads, as a value. A front end hands it to the document
// when a run starts; settings change only between runs, so a run sees one consistent set
// and two documents on two threads share nothing through their settings.

#include "settings/ActiveTrackingSettings.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"
#include "settings/ProfileStore.h"
#include "settings/ScannerPresets.h"
#include "settings/TwinArraySettings.h"

namespace tarvelo {

struct RunSettings {
  // Every group as `store` holds it; the scanner record is the store's current preset.
  static RunSettings FromProfile(const ProfileStore& store);

  ScannerSettings Scanner;  // the live scanner record (current preset, with any offset nudge)
  GeneralSettings General;
  ERollSettings ERoll;
  DiagnosticSettings Diagnostic;
  ActiveTrackingSettings Tracking;
  TwinArraySettings TwinArray;
  OutputSettings Outputs;
  RollSettings Roll;
};

}  // namespace tarvelo
