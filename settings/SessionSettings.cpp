#include "settings/SessionSettings.h"

#include "settings/SettingsTable.h"

namespace tarvelo {

void SessionSettings::Reload() {
  const CheckedProfile checked(store_);
  TwinArray = TwinArraySettings(checked);
  ERoll = ERollSettings(checked);
  General = GeneralSettings(checked);
  Tracking = ActiveTrackingSettings(checked);
  Diagnostic = DiagnosticSettings(checked);
  Presets = ScannerPresets(checked);
  Outputs = OutputSettings(checked);
  Roll = RollSettings(checked);
  Picture = PictureSettings(checked);
  findings_ = checked.Findings();
}

RunSettings SessionSettings::ForRun() const {
  RunSettings run{Presets.Live(), General, ERoll, Diagnostic, Tracking, TwinArray, Outputs, Roll, Picture, {}};
  for (const SettingFinding& finding : findings_) {
    if (store_.Find(finding.Section, finding.Key) != finding.Value) continue;
    const SettingRule* rule = FindSettingRule(finding.Section, finding.Key);
    if (rule && rule->PerPreset && PresetIndexOfKey(finding.Key) != Presets.CurrentIndex()) continue;
    run.ProfileFindings.push_back(finding);
  }
  return run;
}

}  // namespace tarvelo
