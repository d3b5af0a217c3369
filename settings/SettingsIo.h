#pragma once
// Small helpers shared by the settings groups: reading and writing the value forms of the
// profile, and the range checks their dialogs make on OK.

#include <string>
#include <string_view>
#include <vector>

#include "settings/ProfileStore.h"
#include "support/Result.h"

namespace tarvelo {

// A real stored as text (read leniently: text that is not a number gives 0).
double ReadProfileReal(const ProfileStore& store, std::string_view section, std::string_view key,
                       std::string_view default_text);

// A setting of the table (settings/SettingsTable.h) as `store` holds it, or the table's default
// when it is absent (for a scanner preset key, the default of the preset its index names).
int ReadSettingInt(const ProfileStore& store, std::string_view section, std::string_view key);
bool ReadSettingSwitch(const ProfileStore& store, std::string_view section, std::string_view key);
double ReadSettingReal(const ProfileStore& store, std::string_view section, std::string_view key);
std::string ReadSettingText(const ProfileStore& store, std::string_view section, std::string_view key);
// A real written as its _gcvt text with `digits` significant digits.
Result WriteProfileReal(ProfileStore& store, std::string_view section, std::string_view key, double value, int digits);

// Writes the values of one section in order and keeps the first failure: a group's Save.
class ProfileWriter {
 public:
  ProfileWriter(ProfileStore& store, std::string_view section) : store_(store), section_(section) {}
  void Int(std::string_view key, int value) { Keep(store_.WriteProfileInt(section_, key, value)); }
  void Switch(std::string_view key, bool value) { Int(key, value ? 1 : 0); }
  void String(std::string_view key, std::string_view value) { Keep(store_.WriteProfileString(section_, key, value)); }
  void Real(std::string_view key, double value, int digits) {
    Keep(WriteProfileReal(store_, section_, key, value, digits));
  }
  // Writes the following values into another section of the same profile.
  void SetSection(std::string_view section) { section_ = section; }
  Result Outcome() const { return outcome_; }

 private:
  void Keep(Result result) {
    if (outcome_.ok() && !result.ok()) outcome_ = std::move(result);
  }
  ProfileStore& store_;
  std::string_view section_;
  Result outcome_;
};

// The checks a dialog makes on OK, field by field in the dialog's order: the first field that
// fails is the one the dialog names (and puts the focus on); later checks change nothing.
class SettingsCheck {
 public:
  // A field of a setting of the table (settings/SettingsTable.h): its range and message come
  // from there, and a refusal carries `key` (Result::key()). A scanner preset key may be given
  // without its index.
  void Field(std::string_view section, std::string_view key, double value);
  void Field(std::string_view section, std::string_view key, std::string_view text);

  // A number within low..high (a real must also be finite).
  void Range(std::string_view label, double value, double low, double high);
  void Range(std::string_view label, long long value, long long low, long long high);
  // A text of at most `max_characters` characters (UTF-8 characters, not bytes).
  void Length(std::string_view label, std::string_view text, size_t max_characters);
  // A check of the caller's own: `failure` when the field is not acceptable.
  void Require(bool acceptable, std::string message);

  // Ok, or kInvalid with the message of the first field that failed.
  Result Outcome() const { return outcome_; }

 private:
  void Keep(Result result);
  void KeepAbout(std::string_view key, Result result);
  Result outcome_;
};

// Number of characters of UTF-8 text (bytes that do not continue a character).
size_t CountCharacters(std::string_view text);

}  // namespace tarvelo
