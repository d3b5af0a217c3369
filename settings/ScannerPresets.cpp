#include "settings/ScannerPresets.h"

#include "settings/SettingsTable.h"
#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

std::string Key(const char* stem, int index) { return stem + std::to_string(index); }

// The stored values of a preset, in the order they are read and written: each a text or a
// whole number, its key the stem followed by the preset's number.
struct PresetField {
  const char* Stem;
  std::string ScannerPreset::*Text;
  int ScannerPreset::*Number;
};
constexpr PresetField kPresetFields[] = {
    {"PresetName", &ScannerPreset::PresetName, nullptr},
    {"ScannerDPI", nullptr, &ScannerPreset::ScannerDPI},
    {"ScannerOffset", &ScannerPreset::ScannerOffset, nullptr},
    {"ScannerAlignStretch", &ScannerPreset::ScannerAlignStretch, nullptr},
    {"ScannerModeType", &ScannerPreset::ScannerModeType, nullptr},
    {"RemoveTakeupAccel", nullptr, &ScannerPreset::RemoveTakeupAccel},
    {"TakeupAccelPct", &ScannerPreset::TakeupAccelPct, nullptr},
    {"ActiveTracking", nullptr, &ScannerPreset::ActiveTracking},
    {"AutoTweakSettings", nullptr, &ScannerPreset::AutoTweakSettings},
    {"ScanLightingMethod", nullptr, &ScannerPreset::ScanLightingMethod},
    {"TwinArrayOverlap", &ScannerPreset::TwinArrayOverlap, nullptr},
    {"TwinArrayVertOffset", &ScannerPreset::TwinArrayVertOffset, nullptr},
    {"ForceOldCisFormat", nullptr, &ScannerPreset::ForceOldCisFormat},
};

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

Result ValidatePresetEdit(const ScannerSettings& edit) {
  constexpr const char* kSection = ScannerPresets::kSection;
  SettingsCheck check;
  check.Field(kSection, "PresetName", edit.PresetName);
  check.Field(kSection, "ScannerDPI", static_cast<double>(edit.ScannerDPI));
  check.Field(kSection, "ScannerOffset", edit.ScannerOffset);
  check.Field(kSection, "ScannerAlignStretch", edit.ScannerAlignStretch);
  check.Field(kSection, "ScannerModeType", edit.ScannerModeType);
  check.Field(kSection, "TakeupAccelPct", edit.TakeupAccelPct);
  check.Field(kSection, "ScanLightingMethod", edit.ScanLightingMethod);
  check.Field(kSection, "TwinArrayOverlap", edit.TwinArrayOverlap);
  check.Field(kSection, "TwinArrayVertOffset", edit.TwinArrayVertOffset);
  return check.Outcome();
}

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
    ScannerPreset& p = presets_[static_cast<size_t>(n)];
    for (const PresetField& field : kPresetFields) {
      if (field.Text != nullptr)
        p.*field.Text = ReadSettingText(store, kSection, Key(field.Stem, n));
      else
        p.*field.Number = ReadSettingInt(store, kSection, Key(field.Stem, n));
    }
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
  ProfileWriter writer(store, kSection);
  for (const PresetField& field : kPresetFields) {
    if (field.Text != nullptr)
      writer.String(Key(field.Stem, n), p.*field.Text);
    else
      writer.Int(Key(field.Stem, n), p.*field.Number);
  }
  return writer.Outcome();
}

}  // namespace tarvelo
