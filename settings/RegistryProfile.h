#pragma once
// The profile kept in the Windows registry, where the program has always kept its settings:
// one key per section under HKEY_CURRENT_USER\Software\Quenby_Software\Tarvelo, integers as
// REG_DWORD values and texts as REG_SZ values, with the section and key names and the value
// forms of the INI profile. Windows only.
//
// Reading: a REG_DWORD is an integer, and a text of one when read as text; a REG_SZ (or
// REG_EXPAND_SZ, taken as it stands) is a text, and an integer when it holds one written as
// plain decimal digits. Any other value, or a missing one, gives the default. Writes open or
// create the section's key and set the value at once.

#ifdef _WIN32

#include <string>

#include "settings/ProfileStore.h"

namespace tarvelo {

class RegistryProfile : public ProfileStore {
 public:
  // The key of the program's settings below HKEY_CURRENT_USER.
  static constexpr const char* kTarveloKey = "Software\\Quenby_Software\\Tarvelo";

  // The profile under HKEY_CURRENT_USER\`key` (tests use a key of their own).
  explicit RegistryProfile(std::string key = kTarveloKey);

  int GetProfileInt(std::string_view section, std::string_view key, int default_value) const override;
  std::string GetProfileString(std::string_view section, std::string_view key,
                               std::string_view default_value) const override;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const override;
  Result WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  Result WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

  // The full name of the profile's key, "HKEY_CURRENT_USER\Software\...", for messages.
  std::string Location() const;

 private:
  std::string key_;
};

}  // namespace tarvelo

#endif  // _WIN32
