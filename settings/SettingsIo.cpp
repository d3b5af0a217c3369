#include "settings/SettingsIo.h"

#include <algorithm>
#include <cmath>

#include "settings/SettingsTable.h"
#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

// The default of a known setting; a key the table does not know (a programming error the
// tests catch) reads as empty.
std::string TableDefault(std::string_view section, std::string_view key) {
  const SettingRule* rule = FindSettingRule(section, key);
  return rule ? DefaultValue(*rule, std::max(0, PresetIndexOfKey(key))) : std::string();
}

}  // namespace

double ReadProfileReal(const ProfileStore& store, std::string_view section, std::string_view key,
                       std::string_view default_text) {
  return LenientToDouble(store.GetProfileString(section, key, default_text));
}

int ReadSettingInt(const ProfileStore& store, std::string_view section, std::string_view key) {
  return store.GetProfileInt(section, key, LenientToInt(TableDefault(section, key)));
}

bool ReadSettingSwitch(const ProfileStore& store, std::string_view section, std::string_view key) {
  return ReadSettingInt(store, section, key) != 0;
}

double ReadSettingReal(const ProfileStore& store, std::string_view section, std::string_view key) {
  return ReadProfileReal(store, section, key, TableDefault(section, key));
}

std::string ReadSettingText(const ProfileStore& store, std::string_view section, std::string_view key) {
  return store.GetProfileString(section, key, TableDefault(section, key));
}

Result WriteProfileReal(ProfileStore& store, std::string_view section, std::string_view key, double value, int digits) {
  return store.WriteProfileString(section, key, FormatGcvt(value, digits));
}

void SettingsCheck::Field(std::string_view section, std::string_view key, double value) {
  if (!outcome_.ok()) return;
  const SettingRule* rule = FindSettingRule(section, key);
  if (rule) KeepAbout(key, CheckField(*rule, value));
}

void SettingsCheck::Field(std::string_view section, std::string_view key, std::string_view text) {
  if (!outcome_.ok()) return;
  const SettingRule* rule = FindSettingRule(section, key);
  if (rule) KeepAbout(key, CheckField(*rule, text));
}

void SettingsCheck::Range(std::string_view label, double value, double low, double high) {
  Require(std::isfinite(value) && value >= low && value <= high,
          std::string(label) + " must be between " + FormatRangeLimit(low) + " and " + FormatRangeLimit(high) + ".");
}

void SettingsCheck::Range(std::string_view label, long long value, long long low, long long high) {
  Require(value >= low && value <= high,
          std::string(label) + " must be between " + std::to_string(low) + " and " + std::to_string(high) + ".");
}

void SettingsCheck::Length(std::string_view label, std::string_view text, size_t max_characters) {
  Require(CountCharacters(text) <= max_characters,
          std::string(label) + " must be at most " + std::to_string(max_characters) + " characters.");
}

void SettingsCheck::Require(bool acceptable, std::string message) {
  if (acceptable || !outcome_.ok()) return;
  outcome_ = Result::Invalid(std::move(message));
}

void SettingsCheck::Keep(Result result) {
  if (outcome_.ok() && !result.ok()) outcome_ = std::move(result);
}

void SettingsCheck::KeepAbout(std::string_view key, Result result) {
  if (outcome_.ok() && !result.ok()) outcome_ = std::move(result).WithKey(std::string(key));
}

size_t CountCharacters(std::string_view text) {
  size_t count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace tarvelo
