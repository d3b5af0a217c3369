#include "settings/SettingsCatalog.h"

#include "settings/ActiveTrackingSettings.h"
#include "settings/AudioSettings.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"
#include "settings/PictureSettings.h"
#include "settings/ScannerPresets.h"
#include "settings/SettingsTable.h"
#include "settings/TwinArraySettings.h"
#include "support/LenientNumber.h"

namespace tarvelo {

namespace {

// Writes every group, as loaded from `store`, the way it would be saved into `out`.
void SaveAll(const ProfileStore& store, IniProfile& out) {
  const ScannerPresets presets(store);
  out.WriteProfileInt(ScannerPresets::kSection, "CurrentPreset", presets.CurrentIndex()).Ignore();
  for (int n = 0; n < kPresetCount; ++n)
    presets.SavePresetValues(out, n, presets.Preset(n).AutoTweakSettings != 0).Ignore();
  // `out` is held in memory: its writes cannot fail.
  GeneralSettings(store).Save(out).Ignore();
  ERollSettings(store).Save(out).Ignore();
  DiagnosticSettings(store).Save(out).Ignore();
  ActiveTrackingSettings(store).Save(out).Ignore();
  TwinArraySettings(store).Save(out).Ignore();
  OutputSettings(store).SaveAll(out).Ignore();
  RollSettings(store).Save(out).Ignore();
  AudioSettings(store).Save(out).Ignore();
  PictureSettings(store).Save(out).Ignore();
}

}  // namespace

std::vector<SettingValue> EffectiveSettings(const ProfileStore& store) {
  IniProfile saved;
  SaveAll(store, saved);
  std::vector<SettingValue> settings;
  for (const IniProfile::Entry& entry : saved.Entries()) {
    SettingValue value{entry.section, entry.key, entry.value, SettingValue::kInteger};
    if (const SettingRule* rule = FindSettingRule(entry.section, entry.key)) {
      if (rule->Kind == SettingKind::kReal) value.kind = SettingValue::kReal;
      if (rule->Kind == SettingKind::kText) value.kind = SettingValue::kText;
    }
    settings.push_back(std::move(value));
  }
  return settings;
}

const SettingValue* FindSetting(const std::vector<SettingValue>& settings, std::string_view section,
                                std::string_view key) {
  for (const SettingValue& s : settings)
    if (SameProfileName(s.section, section) && SameProfileName(s.key, key)) return &s;
  return nullptr;
}

Result SetSetting(ProfileStore& store, std::string_view section, std::string_view key, std::string_view value) {
  const std::vector<SettingValue> known = EffectiveSettings(store);
  const SettingValue* setting = FindSetting(known, section, key);
  const SettingRule* rule = setting ? FindSettingRule(setting->section, setting->key) : nullptr;
  if (!rule) return Result::NotFound("unknown setting " + std::string(section) + "/" + std::string(key));

  // The check its dialog makes on this field when the user presses OK.
  std::string stored;
  if (Result checked = CheckEntry(*rule, value, stored); !checked.ok()) return checked;
  return setting->kind == SettingValue::kInteger
             ? store.WriteProfileInt(setting->section, setting->key, LenientToInt(stored))
             : store.WriteProfileString(setting->section, setting->key, stored);
}

}  // namespace tarvelo
