#pragma once
// Small helpers shared by the settings groups: reading and writing the value forms of the
// profile, and the range checks their dialogs make on OK.

#include <string>
#include <string_view>
#include <vector>

#include "settings/ProfileStore.h"

namespace tarvelo {

// A real stored as text (read leniently: text that is not a number gives 0).
double ReadProfileReal(const ProfileStore& store, std::string_view section, std::string_view key,
                       std::string_view default_text);
// A real written as its _gcvt text with `digits` significant digits.
bool WriteProfileReal(ProfileStore& store, std::string_view section, std::string_view key, double value,
                      int digits);

// Problems found by a dialog's checks; empty when every field is acceptable.
using SettingsProblems = std::vector<std::string>;

void CheckRange(SettingsProblems& problems, std::string_view label, double value, double low, double high);
void CheckRange(SettingsProblems& problems, std::string_view label, long long value, long long low,
                long long high);
void CheckLength(SettingsProblems& problems, std::string_view label, std::string_view text, size_t max_characters);

// Number of characters of UTF-8 text (bytes that do not continue a character).
size_t CountCharacters(std::string_view text);

}  // namespace tarvelo
