#include "settings/CheckedProfile.h"

#include "settings/ScannerPresets.h"
#include "settings/SettingsTable.h"
#include "support/LenientNumber.h"

namespace tarvelo {

namespace {

constexpr size_t kShownBytes = 64;

bool UsesDefault(const SettingRule& rule, double value) {
  switch (rule.OutOfRange) {
    case OutOfRangeUse::kDefault:
      return true;
    case OutOfRangeUse::kDefaultAbove:
      return value > rule.High;
    case OutOfRangeUse::kDefaultBelow:
      return value < rule.Low;
    case OutOfRangeUse::kValue:
      break;
  }
  return false;
}

// A stored value as a message shows it: quoted, control characters as '?', and a long text cut
// (at a character boundary) with "...".
std::string Shown(std::string_view value) {
  std::string shown = "\"";
  size_t end = value.size();
  if (end > kShownBytes) {
    end = kShownBytes;
    while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) --end;
  }
  for (const char c : value.substr(0, end)) {
    const auto byte = static_cast<unsigned char>(c);
    shown += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
  if (end < value.size()) shown += "...";
  return shown + "\"";
}

std::string DefaultUsed(std::string_view default_value) {
  return "the default " + std::string(default_value) + " is used instead";
}

constexpr const char* kValueUsed = "it is used as it stands";

}  // namespace

CheckedProfile::CheckedProfile(const ProfileStore& base) : base_(base) {
  // The preset a run uses: the stored one, or the first when the stored index names none
  // (reported when the index itself is read).
  const int current = base.GetProfileInt(ScannerPresets::kSection, "CurrentPreset", 0);
  current_preset_ = current >= 0 && current < kPresetCount ? current : 0;
}

int CheckedProfile::GetProfileInt(std::string_view section, std::string_view key, int default_value) const {
  const int value = base_.GetProfileInt(section, key, default_value);
  const SettingRule* rule = FindSettingRule(section, key);
  if (!rule || (rule->PerPreset && PresetIndexOfKey(key) != current_preset_)) return value;
  const std::optional<std::string> stored = base_.Find(section, key);
  if (!stored) return value;
  const std::string default_text = std::to_string(default_value);
  int number = 0;
  if (!ParseStrictInt(*stored, number)) {
    // The store gives the default for a value that is not a 32-bit integer.
    Note(section, key, *stored,
         rule->Kind == SettingKind::kSwitch ? "not an integer" : "not an integer in the range " + DescribeRange(*rule),
         DefaultUsed(default_text));
    return default_value;
  }
  if (IsInRange(*rule, number)) return value;
  const bool use_default = UsesDefault(*rule, number);
  Note(section, key, *stored, "outside the range " + DescribeRange(*rule),
       use_default ? DefaultUsed(default_text) : kValueUsed);
  return use_default ? default_value : value;
}

std::string CheckedProfile::GetProfileString(std::string_view section, std::string_view key,
                                             std::string_view default_value) const {
  std::string value = base_.GetProfileString(section, key, default_value);
  const SettingRule* rule = FindSettingRule(section, key);
  if (!rule || (rule->PerPreset && PresetIndexOfKey(key) != current_preset_)) return value;
  const std::optional<std::string> stored = base_.Find(section, key);
  if (!stored) return value;
  if (rule->Kind == SettingKind::kText) {
    // A file name part that would lead an output out of its folder (or put a control character
    // into its name) is not used at all.
    if (!CheckFileNamePart(*rule, *stored).ok()) {
      Note(section, key, *stored, "not a part of a file name (it holds '/', '\\', \"..\" or a control character)",
           DefaultUsed(default_value.empty() ? "\"\"" : default_value));
      return std::string(default_value);
    }
    if (!CheckField(*rule, *stored).ok())
      Note(section, key, *stored, "more than " + FormatRangeLimit(rule->High) + " characters", kValueUsed);
    return value;
  }
  if (rule->Kind != SettingKind::kReal) return value;
  double number = 0;
  if (!ParseStrictDouble(*stored, number)) {
    Note(section, key, *stored, "not a number in the range " + DescribeRange(*rule), DefaultUsed(default_value));
    return std::string(default_value);
  }
  if (IsInRange(*rule, number)) return value;
  const bool use_default = UsesDefault(*rule, number);
  Note(section, key, *stored, "outside the range " + DescribeRange(*rule),
       use_default ? DefaultUsed(default_value) : kValueUsed);
  return use_default ? std::string(default_value) : value;
}

std::optional<std::string> CheckedProfile::Find(std::string_view section, std::string_view key) const {
  return base_.Find(section, key);
}

Result CheckedProfile::WriteProfileInt(std::string_view, std::string_view, int) {
  return Result::Invalid("the settings of a run are not written to the profile");
}

Result CheckedProfile::WriteProfileString(std::string_view, std::string_view, std::string_view) {
  return Result::Invalid("the settings of a run are not written to the profile");
}

void CheckedProfile::Note(std::string_view section, std::string_view key, const std::string& value,
                          const std::string& problem, const std::string& used) const {
  if (!noted_.insert(FoldProfileName(section) + "\n" + FoldProfileName(key)).second) return;
  findings_.push_back(SettingFinding{std::string(section), std::string(key), value,
                                     std::string(section) + "/" + std::string(key) + " in the profile is " +
                                         Shown(value) + ", " + problem + "; " + used + "."});
}

}  // namespace tarvelo
