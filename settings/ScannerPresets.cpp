#include "settings/ScannerPresets.h"

#include "settings/SettingsTable.h"
#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

// The values of a preset, in the order they are read, checked and written: each with the member
// that holds it as stored (texts and whole numbers) and the one that holds it as edited.
struct PresetField {
  std::string_view Key;  // followed by the preset's index in the profile
  FieldMember<ScannerPreset> Stored;
  FieldMember<ScannerSettings> Edited;
};
constexpr PresetField kPresetFields[] = {
    {"PresetName", &ScannerPreset::PresetName, &ScannerSettings::PresetName},
    {"ScannerDPI", &ScannerPreset::ScannerDPI, &ScannerSettings::ScannerDPI},
    {"ScannerOffset", &ScannerPreset::ScannerOffset, &ScannerSettings::ScannerOffset},
    {"ScannerAlignStretch", &ScannerPreset::ScannerAlignStretch, &ScannerSettings::ScannerAlignStretch},
    {"ScannerModeType", &ScannerPreset::ScannerModeType, &ScannerSettings::ScannerModeType},
    {"RemoveTakeupAccel", &ScannerPreset::RemoveTakeupAccel, &ScannerSettings::RemoveTakeupAccel},
    {"TakeupAccelPct", &ScannerPreset::TakeupAccelPct, &ScannerSettings::TakeupAccelPct},
    {"ActiveTracking", &ScannerPreset::ActiveTracking, &ScannerSettings::ActiveTracking},
    {"AutoTweakSettings", &ScannerPreset::AutoTweakSettings, &ScannerSettings::AutoTweakSettings},
    {"ScanLightingMethod", &ScannerPreset::ScanLightingMethod, &ScannerSettings::ScanLightingMethod},
    {"TwinArrayOverlap", &ScannerPreset::TwinArrayOverlap, &ScannerSettings::TwinArrayOverlap},
    {"TwinArrayVertOffset", &ScannerPreset::TwinArrayVertOffset, &ScannerSettings::TwinArrayVertOffset},
    {"ForceOldCisFormat", &ScannerPreset::ForceOldCisFormat, &ScannerSettings::ForceOldCisFormat},
};
constexpr size_t kPresetFieldCount = std::size(kPresetFields);

// The rows of one of the two forms.
template <typename Form>
constexpr std::array<SettingField<Form>, kPresetFieldCount> FieldsOf(FieldMember<Form> PresetField::*form) {
  std::array<SettingField<Form>, kPresetFieldCount> fields{};
  for (size_t row = 0; row < kPresetFieldCount; ++row)
    fields[row] = {ScannerPresets::kSection, kPresetFields[row].Key, kPresetFields[row].*form};
  return fields;
}
constexpr std::array kStoredFields = FieldsOf(&PresetField::Stored);
constexpr std::array kEditedFields = FieldsOf(&PresetField::Edited);

// The stored preset as numbers, converted leniently (text that is not a number gives 0).
ScannerSettings FromStored(const ScannerPreset& p) {
  ScannerSettings settings;
  settings.PresetName = p.PresetName;
  settings.ForceOldCisFormat = p.ForceOldCisFormat != 0;
  settings.TwinArrayOverlap = LenientToDouble(p.TwinArrayOverlap);
  settings.TwinArrayVertOffset = LenientToDouble(p.TwinArrayVertOffset);
  settings.AutoTweakSettings = p.AutoTweakSettings != 0;
  settings.ScanLightingMethod = p.ScanLightingMethod;
  settings.ActiveTracking = p.ActiveTracking != 0;
  settings.TakeupAccelPct = LenientToDouble(p.TakeupAccelPct);
  settings.RemoveTakeupAccel = p.RemoveTakeupAccel != 0;
  settings.ScannerModeType = p.ScannerModeType;
  settings.ScannerAlignStretch = LenientToDouble(p.ScannerAlignStretch);
  settings.ScannerOffset = LenientToDouble(p.ScannerOffset);
  settings.ScannerDPI = p.ScannerDPI;
  return settings;
}

// Checked values in their stored form: reals as their 8-digit text. The auto-tweak flag is the
// caller's to keep.
ScannerPreset ToStored(const ScannerSettings& settings, int auto_tweak) {
  ScannerPreset p;
  p.PresetName = settings.PresetName;
  p.ScannerDPI = static_cast<int>(settings.ScannerDPI);
  p.ScannerOffset = FormatGcvt(settings.ScannerOffset, 8);
  p.ScannerAlignStretch = FormatGcvt(settings.ScannerAlignStretch, 8);
  p.TakeupAccelPct = FormatGcvt(settings.TakeupAccelPct, 8);
  p.ScannerModeType = settings.ScannerModeType;
  p.RemoveTakeupAccel = settings.RemoveTakeupAccel ? 1 : 0;
  p.ActiveTracking = settings.ActiveTracking ? 1 : 0;
  p.AutoTweakSettings = auto_tweak;
  p.ScanLightingMethod = settings.ScanLightingMethod;
  p.TwinArrayOverlap = FormatGcvt(settings.TwinArrayOverlap, 8);
  p.TwinArrayVertOffset = FormatGcvt(settings.TwinArrayVertOffset, 8);
  p.ForceOldCisFormat = settings.ForceOldCisFormat ? 1 : 0;
  return p;
}

}  // namespace

Result ValidatePresetEdit(const ScannerSettings& edit) { return CheckFields(ScannerPresets::EditedFields(), edit); }

std::span<const SettingField<ScannerPreset>> ScannerPresets::StoredFields() { return kStoredFields; }

std::span<const SettingField<ScannerSettings>> ScannerPresets::EditedFields() { return kEditedFields; }

std::string ScannerPresets::DefaultTakeupAccelPct(int index) {
  return DefaultValue(*FindSettingRule(kSection, "TakeupAccelPct"), index);
}

std::string ScannerPresets::DefaultPresetName(int index) {
  return DefaultValue(*FindSettingRule(kSection, "PresetName"), index);
}

ScannerPresets::ScannerPresets(const ProfileStore& store) { LoadPresets(store); }

void ScannerPresets::LoadPresets(const ProfileStore& store) {
  current_ = ReadSettingInt(store, kSection, "CurrentPreset");
  if (current_ < 0 || current_ >= kPresetCount) current_ = 0;
  for (int n = 0; n < kPresetCount; ++n) {
    LoadFields(store, StoredFields(), presets_[static_cast<size_t>(n)], n);
  }
  ApplyCurrentPreset();
}

void ScannerPresets::ApplyCurrentPreset() { live_ = FromStored(CurrentPreset()); }

void ScannerPresets::BeginPresetEdit(ScannerSettings& edit) const {
  ScannerSettings values = FromStored(CurrentPreset());
  values.PresetName = std::move(edit.PresetName);
  edit = std::move(values);
}

void ScannerPresets::SelectPreset(int index, ScannerSettings& edit) {
  if (index < 0 || index >= kPresetCount) return;  // only the 16 presets can become current
  current_ = index;
  BeginPresetEdit(edit);
  edit.PresetName = CurrentPreset().PresetName;
}

Result ScannerPresets::StorePreset(const ScannerSettings& edit, ProfileStore& store) {
  ScannerPreset& p = presets_[static_cast<size_t>(current_)];
  p = ToStored(edit, edit.AutoTweakSettings ? 1 : 0);
  const Result saved = SavePreset(store, edit.AutoTweakSettings);
  ApplyCurrentPreset();
  return saved;
}

Result ScannerPresets::SavePreset(ProfileStore& store, bool auto_tweak) const {
  ProfileWriter writer(store, kSection);
  writer.Int("CurrentPreset", current_);
  const Result values = SavePresetValues(store, current_, auto_tweak);
  return writer.Outcome().ok() ? values : writer.Outcome();
}

Result ScannerPresets::SavePresetValues(ProfileStore& store, int n, bool auto_tweak) const {
  ScannerPreset p = Preset(n);
  p.AutoTweakSettings = auto_tweak ? 1 : 0;
  return SaveFields(store, StoredFields(), p, n);
}

}  // namespace tarvelo
