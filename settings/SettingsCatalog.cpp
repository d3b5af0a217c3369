#include "settings/SettingsCatalog.h"

#include <array>
#include <cctype>

#include "settings/ActiveTrackingSettings.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"
#include "settings/OverlayProfile.h"
#include "settings/ScannerPresets.h"
#include "settings/TwinArraySettings.h"
#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

// Keys whose values are reals stored as text (scanner preset keys without their index).
constexpr std::array<std::string_view, 11> kRealKeys = {
    "SpeckThresholdLength",     "GlitchThresholdDistance", "RollEdgeCaptureDistance", "TrackingUpdateDistance",
    "EdgeErrorWeightingFactor", "TrackingLoopGain",        "ScannerOffset",           "ScannerAlignStretch",
    "TakeupAccelPct",           "TwinArrayOverlap",        "TwinArrayVertOffset"};

// The key without a trailing preset index.
std::string_view KeyStem(std::string_view key) {
  while (!key.empty() && std::isdigit(static_cast<unsigned char>(key.back()))) key.remove_suffix(1);
  return key;
}

bool IsRealKey(std::string_view key) {
  const std::string stem = FoldProfileName(KeyStem(key));
  for (const auto real : kRealKeys)
    if (FoldProfileName(real) == stem) return true;
  return false;
}

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
  const OutputSettings outputs(store);
  ProfileWriter writer(out, OutputSettings::kSection);
  writer.Switch("ScanMidi", outputs.ScanMidi);
  writer.Switch("eRollMidi", outputs.eRollMidi);
  writer.Switch("PunchMidi", outputs.PunchMidi);
  RollSettings(store).Save(out).Ignore();
}

// The checks of the dialog that edits `section`, on the settings as `store` holds them.
Result CheckGroup(const ProfileStore& store, std::string_view section, std::string_view key) {
  const std::string folded = FoldProfileName(section);
  if (folded == FoldProfileName(GeneralSettings::kSection)) return GeneralSettings(store).Validate();
  if (folded == FoldProfileName(ERollSettings::kSection)) return ERollSettings(store).Validate();
  if (folded == FoldProfileName(DiagnosticSettings::kSection)) return DiagnosticSettings(store).Validate();
  if (folded == FoldProfileName(ActiveTrackingSettings::kSection)) return ActiveTrackingSettings(store).Validate();
  if (folded == FoldProfileName(TwinArraySettings::kSection)) return TwinArraySettings(store).Validate();
  if (folded == FoldProfileName(ScannerPresets::kSection)) {
    SettingsCheck check;
    const int stored = store.GetProfileInt(ScannerPresets::kSection, "CurrentPreset", 0);
    if (FoldProfileName(key) == "currentpreset") {
      check.Range("Scanner Setting Presets", stored, 0LL, kPresetCount - 1LL);
      return check.Outcome();
    }
    const std::string_view stem = KeyStem(key);
    const int index = LenientToInt(key.substr(stem.size()));
    ScannerPresets presets(store);
    ScannerSettings edit;
    presets.SelectPreset(index, edit);
    return ValidatePresetEdit(edit);
  }
  if (folded == FoldProfileName(OutputSettings::kSection) && FoldProfileName(key) == "embedrollkeyworddata")
    return DiagnosticSettings(store).Validate();
  return Result::Ok();
}

}  // namespace

std::vector<SettingValue> EffectiveSettings(const ProfileStore& store) {
  IniProfile saved;
  SaveAll(store, saved);
  std::vector<SettingValue> settings;
  for (const IniProfile::Entry& entry : saved.Entries()) {
    SettingValue value{entry.section, entry.key, entry.value, SettingValue::kText};
    if (!entry.is_text)
      value.kind = SettingValue::kInteger;
    else if (IsRealKey(entry.key))
      value.kind = SettingValue::kReal;
    settings.push_back(std::move(value));
  }
  return settings;
}

const SettingValue* FindSetting(const std::vector<SettingValue>& settings, std::string_view section,
                                std::string_view key) {
  for (const SettingValue& s : settings)
    if (FoldProfileName(s.section) == FoldProfileName(section) && FoldProfileName(s.key) == FoldProfileName(key))
      return &s;
  return nullptr;
}

Result SetSetting(ProfileStore& store, std::string_view section, std::string_view key, std::string_view value) {
  const std::vector<SettingValue> known = EffectiveSettings(store);
  const SettingValue* setting = FindSetting(known, section, key);
  if (!setting) return Result::NotFound("unknown setting " + std::string(section) + "/" + std::string(key));

  std::string stored(value);
  if (setting->kind == SettingValue::kInteger) {
    int number = 0;
    if (!ParseStrictInt(value, number)) return Result::Invalid(setting->key + ": enter an integer.");
    stored = std::to_string(number);
  } else if (setting->kind == SettingValue::kReal) {
    double number = 0;
    if (!ParseStrictDouble(value, number)) return Result::Invalid(setting->key + ": enter a number.");
    const bool preset = FoldProfileName(setting->section) == FoldProfileName(ScannerPresets::kSection);
    stored = FormatGcvt(number, preset ? 8 : 10);
  }

  OverlayProfile trial(store);
  trial.Override(setting->section, setting->key, stored);
  if (Result checked = CheckGroup(trial, setting->section, setting->key); !checked.ok()) return checked;

  return setting->kind == SettingValue::kInteger
             ? store.WriteProfileInt(setting->section, setting->key, LenientToInt(stored))
             : store.WriteProfileString(setting->section, setting->key, stored);
}

}  // namespace tarvelo
