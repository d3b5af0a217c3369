#pragma once
// "Twin Array Settings": how the two halves of a twin-array scan are joined.

#include "settings/SettingsFields.h"

namespace tarvelo {

class TwinArraySettings {
 public:
  static constexpr const char* kSection = "Twin Array Settings";
  // Every setting of the group, bound to its member, in the order Save writes them.
  static std::span<const SettingField<TwinArraySettings>> Fields();

  explicit TwinArraySettings(const ProfileStore& store);
  TwinArraySettings() = default;

  Result Save(ProfileStore& store) const;
  Result Validate() const;

  bool OverrideCISvalues = false;
  bool ShowCrossoverLine = false;
  bool DisableTwinArrayProcessing = false;
  int BlendWidthInThousandths = 0;
};

}  // namespace tarvelo
