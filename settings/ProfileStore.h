#pragma once
// The per-user settings profile: integers and strings by section and key, like the
// Windows registry profile. Section and key names compare case-insensitively (ASCII),
// as the registry does. Every write is immediate and durable.

#include <optional>
#include <string>
#include <string_view>

#include "support/Result.h"

namespace tarvelo {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The stored integer, or `default_value` when the key is absent or holds no integer.
  virtual int GetProfileInt(std::string_view section, std::string_view key, int default_value) const = 0;
  // The stored text, or `default_value` when the key is absent.
  virtual std::string GetProfileString(std::string_view section, std::string_view key,
                                       std::string_view default_value) const = 0;
  // The stored value as text, whatever its form, or nothing when the key is absent.
  virtual std::optional<std::string> Find(std::string_view section, std::string_view key) const = 0;
  // Store a value; kIoError, naming the store and the reason, when it could not be saved.
  virtual Result WriteProfileInt(std::string_view section, std::string_view key, int value) = 0;
  virtual Result WriteProfileString(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// Lower-cases ASCII letters; profile names compare through it.
std::string FoldProfileName(std::string_view name);
// Whether two profile names are the same but for the case of ASCII letters (without building
// folded copies: profiles are searched name by name).
bool SameProfileName(std::string_view a, std::string_view b);

}  // namespace tarvelo
