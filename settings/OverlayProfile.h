#pragma once
// A profile that answers from in-memory overrides first and from a base profile otherwise.
// A front end uses it to change settings for one run without writing them: the command
// line's --set and --preset. Writes either go to the base profile as well (and update an
// override of the same key, so the run sees what it wrote), or, for a profile that must stay
// untouched, only into the overrides.

#include <map>
#include <string>

#include "settings/ProfileStore.h"

namespace tarvelo {

class OverlayProfile : public ProfileStore {
 public:
  enum class Writes { kThrough, kHeld };
  explicit OverlayProfile(ProfileStore& base, Writes writes = Writes::kThrough) : base_(base), writes_(writes) {}

  void Override(std::string_view section, std::string_view key, std::string value);

  int GetProfileInt(std::string_view section, std::string_view key, int default_value) const override;
  std::string GetProfileString(std::string_view section, std::string_view key,
                               std::string_view default_value) const override;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const override;
  Result WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  Result WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  static std::string Id(std::string_view section, std::string_view key);
  ProfileStore& base_;
  Writes writes_;
  std::map<std::string, std::string> overrides_;  // folded "section\nkey" -> value
};

}  // namespace tarvelo
