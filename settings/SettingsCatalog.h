#pragma once
// Every setting the program knows, with the value in force, and the checked way to change
// one setting by name. The command line's "settings" command and --set are built on these; the
// desktop dialogs use the groups directly. Kinds and ranges come from settings/SettingsTable.h.

#include <string>
#include <string_view>
#include <vector>

#include "settings/IniProfile.h"
#include "settings/SettingsIo.h"

namespace tarvelo {

struct SettingValue {
  std::string section;
  std::string key;
  std::string value;  // as it would be stored
  enum Kind { kInteger, kReal, kText } kind = kText;
};

// All known settings in profile order (section by section, keys in the order the groups
// save them), with the stored value or the default.
std::vector<SettingValue> EffectiveSettings(const ProfileStore& store);

// Finds a known setting (names compare case-insensitively); nullptr when unknown.
const SettingValue* FindSetting(const std::vector<SettingValue>& settings, std::string_view section,
                                std::string_view key);

// Changes one setting after the check its dialog makes on that field on OK/Apply (its range
// in settings/SettingsTable.h; other fields of the dialog are not looked at). Reals are stored as
// their _gcvt text (8 digits for scanner presets, 10 otherwise). kNotFound for an unknown
// setting, kInvalid for a value its dialog refuses (nothing written), kIoError when the profile
// could not be saved.
Result SetSetting(ProfileStore& store, std::string_view section, std::string_view key, std::string_view value);

}  // namespace tarvelo
