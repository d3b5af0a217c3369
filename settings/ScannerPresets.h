#pragma once
// The 16 scanner presets of section "Scanner Settings", the current one, and the live
// ScannerSettings record that every conversion stage reads. A preset is held in its stored
// form (ScannerPreset: numbers as the profile's text) and handed out as ScannerSettings.
//
// Presets hold their numbers as the text read from the profile (or produced by an edit)
// and convert them only when a preset is applied, leniently: text that is not a number
// gives 0, nothing loaded is range-checked. Edits are checked (ValidatePresetEdit) before
// they are stored.

#include <array>
#include <string>

#include "settings/SettingsFields.h"

namespace tarvelo {

inline constexpr int kPresetCount = 16;

// Scanner mode names a preset may hold (any other text selects the default mode).
inline constexpr const char* kModeNoEncoding = "Mode1 - no encoding";
inline constexpr const char* kModeCountDown = "Mode4 encoder : count down";
inline constexpr const char* kModeCountUp = "Mode4 encoder : count up";
inline constexpr const char* kModeShaftEncoder = "Shaft Encoder";

// A preset as the profile stores it.
struct ScannerPreset {
  std::string PresetName;
  int ScannerDPI = 0;
  std::string ScannerOffset;
  std::string ScannerAlignStretch;
  std::string ScannerModeType;
  int RemoveTakeupAccel = 0;
  std::string TakeupAccelPct;
  int ActiveTracking = 0;
  int AutoTweakSettings = 0;
  int ScanLightingMethod = 0;  // 0 AutoDetect, 1 Reflective, 2 Transmissive
  std::string TwinArrayOverlap;
  std::string TwinArrayVertOffset;
  int ForceOldCisFormat = 0;
};

// A preset's values as numbers: the live record every conversion stage reads (the current
// preset, with any offset nudge of the control bar) and the values the preset dialog edits.
struct ScannerSettings {
  std::string PresetName;  // the dialog's "Rename : " field
  bool ForceOldCisFormat = false;
  double TwinArrayOverlap = 0;     // inches
  double TwinArrayVertOffset = 0;  // inches
  bool AutoTweakSettings = false;
  int ScanLightingMethod = 0;
  bool ActiveTracking = false;
  double TakeupAccelPct = 0;  // percent per foot
  bool RemoveTakeupAccel = false;
  std::string ScannerModeType;
  double ScannerAlignStretch = 0;
  double ScannerOffset = 0;  // inches
  long long ScannerDPI = 0;  // pixels per inch (wide, so that the dialog checks any entry)

  // Percent per foot when take-up compensation is on, else 0.
  double TakeupAccelCorrection() const { return RemoveTakeupAccel ? TakeupAccelPct : 0.0; }
};

// The checks of the preset dialog's Apply button.
Result ValidatePresetEdit(const ScannerSettings& edit);

class ScannerPresets {
 public:
  static constexpr const char* kSection = "Scanner Settings";

  // The values of a preset, bound to the members of its stored form (keys without the preset's
  // index), and to those of its edited form (the checks of Apply), in the order they are saved.
  static std::span<const SettingField<ScannerPreset>> StoredFields();
  static std::span<const SettingField<ScannerSettings>> EditedFields();

  // Loads all presets (LoadPresets).
  explicit ScannerPresets(const ProfileStore& store);

  // Reads CurrentPreset and the 16 presets with their defaults, then applies the current one.
  // A stored CurrentPreset outside 0..15 selects preset 0.
  void LoadPresets(const ProfileStore& store);
  // Fills the live record from the current preset.
  void ApplyCurrentPreset();

  // The current preset as edit values (numbers converted leniently, its Auto-Tweak flag with
  // them); the preset name of `edit` is left as it is.
  void BeginPresetEdit(ScannerSettings& edit) const;
  // Makes `index` current (the preset list's selection) and loads it into `edit`, its name
  // included.
  void SelectPreset(int index, ScannerSettings& edit);
  // After Apply: the edit goes into the current preset (numbers as 8-digit text), is saved and
  // applied. The preset's auto-tweak flag in memory is not changed; the profile gets the edit's.
  Result StorePreset(const ScannerSettings& edit, ProfileStore& store);
  // Writes CurrentPreset and every value of the current preset; `auto_tweak` is the working flag.
  Result SavePreset(ProfileStore& store, bool auto_tweak) const;
  // Writes the values of preset `index` as they are held (not CurrentPreset).
  Result SavePresetValues(ProfileStore& store, int index, bool auto_tweak) const;

  // The live offset nudge of the control bar arrows: changes only the live record.
  void NudgeOffset(double inches) { live_.ScannerOffset += inches; }

  int CurrentIndex() const { return current_; }
  const ScannerPreset& Preset(int index) const { return presets_.at(static_cast<size_t>(index)); }
  const ScannerPreset& CurrentPreset() const { return presets_[static_cast<size_t>(current_)]; }
  const ScannerSettings& Live() const { return live_; }
  ScannerSettings& Live() { return live_; }
  // The working name (rename field) set by ApplyCurrentPreset.
  const std::string& WorkingName() const { return live_.PresetName; }

  // The default of TakeupAccelPct for preset `index`.
  static std::string DefaultTakeupAccelPct(int index);
  static std::string DefaultPresetName(int index);

 private:
  std::array<ScannerPreset, kPresetCount> presets_{};
  int current_ = 0;
  ScannerSettings live_{};
};

}  // namespace tarvelo
