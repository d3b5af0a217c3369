#include "settings/ScannerPresets.h"

#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

std::string Key(const char* stem, int index) { return stem + std::to_string(index); }

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
  SettingsCheck check;
  check.Length("Rename : ", edit.PresetName, 128);
  check.Range("Scanner Horizontal DPI", edit.ScannerDPI, 10LL, 1000LL);
  check.Range("+/- Horiz Offset (in Inches)", edit.ScannerOffset, -20.0, 20.0);
  check.Range("Stretch Factor (1.0 typical)", edit.ScannerAlignStretch, 0.5, 2.0);
  check.Length("Scanner Mode : ", edit.ScannerModeType, 32);
  check.Range("% per Foot", edit.TakeupAccelPct, -5.0, 5.0);
  check.Range("Overlap Width (in Inches)", edit.TwinArrayOverlap, 0.0, 100.0);
  check.Range("Sensor Vert. Offset (in Inches)", edit.TwinArrayVertOffset, 0.0, 5.0);
  return check.Outcome();
}

std::string ScannerPresets::DefaultTakeupAccelPct(int index) {
  static const char* const kDefaults[] = {"0.20", "0.21", "0.22", "0.23", "0.24", "0.25", "0.26"};
  return index >= 0 && index <= 6 ? kDefaults[index] : "0.27";
}

std::string ScannerPresets::DefaultPresetName(int index) {
  return index == 0 ? "My Scanner" : "Alternate" + std::to_string(index);
}

ScannerPresets::ScannerPresets(const ProfileStore& store) { LoadPresets(store); }

void ScannerPresets::LoadPresets(const ProfileStore& store) {
  current_ = store.GetProfileInt(kSection, "CurrentPreset", 0);
  if (current_ < 0 || current_ >= kPresetCount) current_ = 0;
  for (int n = 0; n < kPresetCount; ++n) {
    ScannerPreset& p = presets_[static_cast<size_t>(n)];
    p.PresetName = store.GetProfileString(kSection, Key("PresetName", n), DefaultPresetName(n));
    p.ScannerDPI = store.GetProfileInt(kSection, Key("ScannerDPI", n), 300);
    p.ScannerOffset = store.GetProfileString(kSection, Key("ScannerOffset", n), "1.00");
    p.ScannerAlignStretch = store.GetProfileString(kSection, Key("ScannerAlignStretch", n), "1.00");
    p.ScannerModeType = store.GetProfileString(kSection, Key("ScannerModeType", n), kModeNoEncoding);
    p.RemoveTakeupAccel = store.GetProfileInt(kSection, Key("RemoveTakeupAccel", n), 0);
    p.TakeupAccelPct = store.GetProfileString(kSection, Key("TakeupAccelPct", n), DefaultTakeupAccelPct(n));
    p.ActiveTracking = store.GetProfileInt(kSection, Key("ActiveTracking", n), 1);
    p.AutoTweakSettings = store.GetProfileInt(kSection, Key("AutoTweakSettings", n), 1);
    p.ScanLightingMethod = store.GetProfileInt(kSection, Key("ScanLightingMethod", n), 0);
    p.TwinArrayOverlap = store.GetProfileString(kSection, Key("TwinArrayOverlap", n), "0.750");
    p.TwinArrayVertOffset = store.GetProfileString(kSection, Key("TwinArrayVertOffset", n), "0.600");
    p.ForceOldCisFormat = store.GetProfileInt(kSection, Key("ForceOldCisFormat", n), 0);
  }
  ApplyCurrentPreset();
}

void ScannerPresets::ApplyCurrentPreset() { live_ = FromStored(CurrentPreset()); }

void ScannerPresets::BeginPresetEdit(ScannerSettings& edit) const {
  ScannerSettings values = FromStored(CurrentPreset());
  values.PresetName = std::move(edit.PresetName);
  values.AutoTweakSettings = edit.AutoTweakSettings;
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
  p = ToStored(edit, p.AutoTweakSettings);
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
  const ScannerPreset& p = Preset(n);
  ProfileWriter writer(store, kSection);
  writer.String(Key("PresetName", n), p.PresetName);
  writer.Int(Key("ScannerDPI", n), p.ScannerDPI);
  writer.String(Key("ScannerOffset", n), p.ScannerOffset);
  writer.String(Key("ScannerAlignStretch", n), p.ScannerAlignStretch);
  writer.String(Key("ScannerModeType", n), p.ScannerModeType);
  writer.Int(Key("RemoveTakeupAccel", n), p.RemoveTakeupAccel);
  writer.String(Key("TakeupAccelPct", n), p.TakeupAccelPct);
  writer.Int(Key("ActiveTracking", n), p.ActiveTracking);
  writer.Int(Key("AutoTweakSettings", n), auto_tweak ? 1 : 0);
  writer.Int(Key("ScanLightingMethod", n), p.ScanLightingMethod);
  writer.String(Key("TwinArrayOverlap", n), p.TwinArrayOverlap);
  writer.String(Key("TwinArrayVertOffset", n), p.TwinArrayVertOffset);
  writer.Int(Key("ForceOldCisFormat", n), p.ForceOldCisFormat);
  return writer.Outcome();
}

}  // namespace tarvelo
