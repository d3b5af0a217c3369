#include "align/StoreInPreset.h"

#include <string>

#include "settings/ScannerPresets.h"

namespace tarvelo {

Result StoreInPreset(ProfileStore& store, int index, const ScannerSetting& setting) {
  if (index < 0 || index >= kPresetCount)
    return Result::Invalid("there is no scanner preset " + std::to_string(index) + " (0 to 15)");
  ScannerPresets presets(store);
  ScannerSettings edit;
  presets.SelectPreset(index, edit);
  edit.AutoTweakSettings = presets.Preset(index).AutoTweakSettings != 0;
  edit.ScannerDPI = setting.Dpi;
  edit.ScannerOffset = setting.Offset;
  edit.ScannerAlignStretch = setting.Stretch;
  if (const Result checked = ValidatePresetEdit(edit); !checked.ok()) return checked;
  return presets.StorePreset(edit, store);
}

}  // namespace tarvelo
