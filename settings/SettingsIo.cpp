#include "settings/SettingsIo.h"

#include <cmath>

#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

double ReadProfileReal(const ProfileStore& store, std::string_view section, std::string_view key,
                       std::string_view default_text) {
  return LenientToDouble(store.GetProfileString(section, key, default_text));
}

Result WriteProfileReal(ProfileStore& store, std::string_view section, std::string_view key, double value, int digits) {
  return store.WriteProfileString(section, key, FormatGcvt(value, digits));
}

void SettingsCheck::Range(std::string_view label, double value, double low, double high) {
  Require(std::isfinite(value) && value >= low && value <= high,
          std::string(label) + ": enter a number between " + FormatGcvt(low, 8) + " and " + FormatGcvt(high, 8) + ".");
}

void SettingsCheck::Range(std::string_view label, long long value, long long low, long long high) {
  Require(value >= low && value <= high, std::string(label) + ": enter an integer between " + std::to_string(low) +
                                             " and " + std::to_string(high) + ".");
}

void SettingsCheck::Length(std::string_view label, std::string_view text, size_t max_characters) {
  Require(CountCharacters(text) <= max_characters,
          std::string(label) + ": enter no more than " + std::to_string(max_characters) + " characters.");
}

void SettingsCheck::Require(bool acceptable, std::string message) {
  if (acceptable || !outcome_.ok()) return;
  outcome_ = Result::Invalid(std::move(message));
}

size_t CountCharacters(std::string_view text) {
  size_t count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace tarvelo
