#pragma once
// Every setting of the profile in one table: its section and key, the form it is stored in, its
// default and the range the dialog that edits it accepts. The settings groups take their
// defaults from it, the dialogs' checks (the groups' Validate, ValidatePresetEdit), the
// command line's --set and "settings set" (SettingsCatalog) and the check of the values a run
// reads from the profile (CheckedProfile) take their ranges from it.

#include <span>
#include <string>
#include <string_view>

#include "support/Result.h"

namespace tarvelo {

enum class SettingKind {
  kSwitch,   // an integer used as a flag: any integer, non-zero is on
  kInteger,  // an integer within Low..High
  kReal,     // a real stored as text, within Low..High
  kText,     // a text of at most High characters (0: any length)
};

// What a run uses when the profile holds a number outside the range. A value that is not a
// number at all always gives way to the default.
enum class OutOfRangeUse {
  kValue,         // the value as stored: the stage that reads it copes with it
  kDefault,       // the default: no sensible result can come from such a value
  kDefaultAbove,  // the default above the range, the value below it
  kDefaultBelow,  // the default below the range, the value above it
};

struct SettingRule {
  std::string_view Section;
  std::string_view Key;    // a scanner preset key without its index 0..15
  std::string_view Label;  // the dialog field that edits the value, as messages name it
  SettingKind Kind = SettingKind::kText;
  std::string_view Default;  // as stored; see DefaultValue for the per-preset defaults
  double Low = 0;
  double High = 0;  // texts: the most characters
  OutOfRangeUse OutOfRange = OutOfRangeUse::kValue;
  bool PerPreset = false;  // one value per scanner preset, the key followed by the index
};

// Every entry, section by section, in the order of the dialogs' fields.
std::span<const SettingRule> SettingsTable();

// The entry of `key` in `section` (names compare case-insensitively). A preset key is found
// with its index 0..15 ("ScannerDPI3") or without one ("ScannerDPI"). nullptr when unknown.
const SettingRule* FindSettingRule(std::string_view section, std::string_view key);

// The index a preset key carries ("ScannerDPI3" → 3); -1 when it carries none.
int PresetIndexOfKey(std::string_view key);

// The default of the setting as stored; preset names and take-up percentages differ from
// preset to preset, so a per-preset setting needs `preset_index`.
std::string DefaultValue(const SettingRule& rule, int preset_index = 0);

// Whether a number lies within the setting's range (always for switches, never for a number
// that is not finite).
bool IsInRange(const SettingRule& rule, double value);

// The check a dialog makes on one field when the user presses OK: ok, or kInvalid with a
// message that names the field and the range ("Stretch Factor (1.0 typical) must be between
// 0.5 and 2.").
Result CheckField(const SettingRule& rule, double value);
Result CheckField(const SettingRule& rule, std::string_view text);

// Whether the setting is a part of an output file's name (a prefix or a suffix put before or
// after the scan's own name).
bool IsFileNamePart(const SettingRule& rule);

// The check of a file name part: it must keep the output in its folder and its name printable,
// so it holds no '/' or '\\', no "..", no control character and no NUL. Ok for any other
// setting. CheckField(rule, text) makes this check too.
Result CheckFileNamePart(const SettingRule& rule, std::string_view text);

// The check of a value entered as text (--set, "settings set"): the text must be a number of
// the setting's kind within its range, or a text within its length. On success `stored`
// receives the value as the profile stores it (reals as their _gcvt text, with 8 significant
// digits for scanner presets and 10 otherwise).
Result CheckEntry(const SettingRule& rule, std::string_view text, std::string& stored);

// The range as messages show it: "0.5 to 2", "at most 64 characters".
std::string DescribeRange(const SettingRule& rule);
// A limit of a range as messages show it: 2, 0.5, -20 (no decimal point after an integer).
std::string FormatRangeLimit(double value);

}  // namespace tarvelo
