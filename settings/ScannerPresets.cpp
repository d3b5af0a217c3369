#include "settings/ScannerPresets.h"

#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

std::string Key(const char* stem, int index) { return stem + std::to_string(index); }

}  // namespace

SettingsProblems ValidatePresetEdit(const ScannerPresetEdit& edit) {
  SettingsProblems problems;
  CheckLength(problems, "Rename : ", edit.Name, 128);
  CheckRange(problems, "Scanner Horizontal DPI", edit.DPI, 10LL, 1000LL);
  CheckRange(problems, "+/- Horiz Offset (in Inches)", edit.Offset, -20.0, 20.0);
  CheckRange(problems, "Stretch Factor (1.0 typical)", edit.Stretch, 0.5, 2.0);
  CheckLength(problems, "Scanner Mode : ", edit.ModeType, 32);
  CheckRange(problems, "% per Foot", edit.TakeupAccelPct, -5.0, 5.0);
  CheckRange(problems, "Overlap Width (in Inches)", edit.Overlap, 0.0, 100.0);
  CheckRange(problems, "Sensor Vert. Offset (in Inches)", edit.VertOffset, 0.0, 5.0);
  return problems;
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

void ScannerPresets::ApplyCurrentPreset() {
  const ScannerPreset& p = CurrentPreset();
  live_.ForceOldCisFormat = p.ForceOldCisFormat != 0;
  live_.TwinArrayOverlap = LenientToDouble(p.TwinArrayOverlap);
  live_.TwinArrayVertOffset = LenientToDouble(p.TwinArrayVertOffset);
  live_.AutoTweakSettings = p.AutoTweakSettings != 0;
  live_.ScanLightingMethod = p.ScanLightingMethod;
  live_.ActiveTracking = p.ActiveTracking != 0;
  live_.TakeupAccelPct = LenientToDouble(p.TakeupAccelPct);
  live_.RemoveTakeupAccel = p.RemoveTakeupAccel != 0;
  live_.ScannerModeType = p.ScannerModeType;
  live_.ScannerAlignStretch = LenientToDouble(p.ScannerAlignStretch);
  live_.ScannerOffset = LenientToDouble(p.ScannerOffset);
  live_.ScannerDPI = p.ScannerDPI;
  working_name_ = p.PresetName;
}

void ScannerPresets::BeginPresetEdit(ScannerPresetEdit& edit) const {
  const ScannerPreset& p = CurrentPreset();
  edit.DPI = p.ScannerDPI;
  edit.Offset = LenientToDouble(p.ScannerOffset);
  edit.Stretch = LenientToDouble(p.ScannerAlignStretch);
  edit.ModeType = p.ScannerModeType;
  edit.RemoveTakeupAccel = p.RemoveTakeupAccel != 0;
  edit.TakeupAccelPct = LenientToDouble(p.TakeupAccelPct);
  edit.ActiveTracking = p.ActiveTracking != 0;
  edit.LightingMethod = p.ScanLightingMethod;
  edit.Overlap = LenientToDouble(p.TwinArrayOverlap);
  edit.VertOffset = LenientToDouble(p.TwinArrayVertOffset);
  edit.ForceOldCisFormat = p.ForceOldCisFormat != 0;
}

void ScannerPresets::SelectPreset(int index, ScannerPresetEdit& edit) {
  if (index < 0 || index >= kPresetCount) return;  // only the 16 presets can become current
  current_ = index;
  BeginPresetEdit(edit);
  edit.Name = CurrentPreset().PresetName;
}

bool ScannerPresets::StorePreset(const ScannerPresetEdit& edit, ProfileStore& store) {
  ScannerPreset& p = presets_[static_cast<size_t>(current_)];
  p.PresetName = edit.Name;
  p.ScannerDPI = static_cast<int>(edit.DPI);
  p.ScannerOffset = FormatGcvt(edit.Offset, 8);
  p.ScannerAlignStretch = FormatGcvt(edit.Stretch, 8);
  p.TakeupAccelPct = FormatGcvt(edit.TakeupAccelPct, 8);
  p.ScannerModeType = edit.ModeType;
  p.RemoveTakeupAccel = edit.RemoveTakeupAccel ? 1 : 0;
  p.ActiveTracking = edit.ActiveTracking ? 1 : 0;
  p.ScanLightingMethod = edit.LightingMethod;
  p.TwinArrayOverlap = FormatGcvt(edit.Overlap, 8);
  p.TwinArrayVertOffset = FormatGcvt(edit.VertOffset, 8);
  p.ForceOldCisFormat = edit.ForceOldCisFormat ? 1 : 0;
  const bool saved = SavePreset(store, edit.AutoTweak);
  ApplyCurrentPreset();
  return saved;
}

bool ScannerPresets::SavePreset(ProfileStore& store, bool auto_tweak) const {
  const bool ok = store.WriteProfileInt(kSection, "CurrentPreset", current_);
  return SavePresetValues(store, current_, auto_tweak) && ok;
}

bool ScannerPresets::SavePresetValues(ProfileStore& store, int n, bool auto_tweak) const {
  const ScannerPreset& p = Preset(n);
  bool ok = store.WriteProfileString(kSection, Key("PresetName", n), p.PresetName);
  ok &= store.WriteProfileInt(kSection, Key("ScannerDPI", n), p.ScannerDPI);
  ok &= store.WriteProfileString(kSection, Key("ScannerOffset", n), p.ScannerOffset);
  ok &= store.WriteProfileString(kSection, Key("ScannerAlignStretch", n), p.ScannerAlignStretch);
  ok &= store.WriteProfileString(kSection, Key("ScannerModeType", n), p.ScannerModeType);
  ok &= store.WriteProfileInt(kSection, Key("RemoveTakeupAccel", n), p.RemoveTakeupAccel);
  ok &= store.WriteProfileString(kSection, Key("TakeupAccelPct", n), p.TakeupAccelPct);
  ok &= store.WriteProfileInt(kSection, Key("ActiveTracking", n), p.ActiveTracking);
  ok &= store.WriteProfileInt(kSection, Key("AutoTweakSettings", n), auto_tweak ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, Key("ScanLightingMethod", n), p.ScanLightingMethod);
  ok &= store.WriteProfileString(kSection, Key("TwinArrayOverlap", n), p.TwinArrayOverlap);
  ok &= store.WriteProfileString(kSection, Key("TwinArrayVertOffset", n), p.TwinArrayVertOffset);
  ok &= store.WriteProfileInt(kSection, Key("ForceOldCisFormat", n), p.ForceOldCisFormat);
  return ok;
}

}  // namespace tarvelo
