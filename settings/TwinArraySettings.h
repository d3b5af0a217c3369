#pragma once
// "Twin Array Settings": how the two halves of a twin-array scan are joined.

#include "settings/SettingsIo.h"

namespace tarvelo {

class CTwinArraySettings {
 public:
  static constexpr const char* kSection = "Twin Array Settings";

  explicit CTwinArraySettings(const ProfileStore& store);
  CTwinArraySettings() = default;

  bool Save(ProfileStore& store) const;
  SettingsProblems Validate() const;

  bool OverrideCISvalues = false;
  bool ShowCrossoverLine = false;
  bool DisableTwinArrayProcessing = false;
  int BlendWidthInThousandths = 0;
};

}  // namespace tarvelo
