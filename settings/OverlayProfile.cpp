#include "settings/OverlayProfile.h"

#include "support/LenientNumber.h"

namespace tarvelo {

std::string OverlayProfile::Id(std::string_view section, std::string_view key) {
  return FoldProfileName(section) + "\n" + FoldProfileName(key);
}

void OverlayProfile::Override(std::string_view section, std::string_view key, std::string value) {
  overrides_[Id(section, key)] = std::move(value);
}

int OverlayProfile::GetProfileInt(std::string_view section, std::string_view key, int default_value) const {
  const auto it = overrides_.find(Id(section, key));
  if (it == overrides_.end()) return base_.GetProfileInt(section, key, default_value);
  int value = 0;
  return ParseStrictInt(it->second, value) ? value : default_value;
}

std::string OverlayProfile::GetProfileString(std::string_view section, std::string_view key,
                                             std::string_view default_value) const {
  const auto it = overrides_.find(Id(section, key));
  if (it == overrides_.end()) return base_.GetProfileString(section, key, default_value);
  return it->second;
}

std::optional<std::string> OverlayProfile::Find(std::string_view section, std::string_view key) const {
  const auto it = overrides_.find(Id(section, key));
  if (it == overrides_.end()) return base_.Find(section, key);
  return it->second;
}

Result OverlayProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  if (writes_ == Writes::kHeld) {
    overrides_[Id(section, key)] = std::to_string(value);
    return Result::Ok();
  }
  const auto it = overrides_.find(Id(section, key));
  if (it != overrides_.end()) it->second = std::to_string(value);
  return base_.WriteProfileInt(section, key, value);
}

Result OverlayProfile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
  if (writes_ == Writes::kHeld) {
    overrides_[Id(section, key)] = std::string(value);
    return Result::Ok();
  }
  const auto it = overrides_.find(Id(section, key));
  if (it != overrides_.end()) it->second = std::string(value);
  return base_.WriteProfileString(section, key, value);
}

}  // namespace tarvelo
