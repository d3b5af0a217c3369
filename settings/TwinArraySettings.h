#pragma once
// "Twin Array Settings": how the two halves of a twin-array scan are joined.

#include "settings/SettingsIo.h"

namespace tarvelo {

class TwinArraySettings {
 public:
  static constexpr const char* kSection = "Twin Array Settings";

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
