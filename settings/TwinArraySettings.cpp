#include "settings/TwinArraySettings.h"

namespace tarvelo {

TwinArraySettings::TwinArraySettings(const ProfileStore& store) {
  OverrideCISvalues = ReadSettingSwitch(store, kSection, "OverrideCISvalues");
  ShowCrossoverLine = ReadSettingSwitch(store, kSection, "ShowCrossoverLine");
  DisableTwinArrayProcessing = ReadSettingSwitch(store, kSection, "DisableTwinArrayProcessing");
  BlendWidthInThousandths = ReadSettingInt(store, kSection, "BlendWidthInThousandths");
}

Result TwinArraySettings::Save(ProfileStore& store) const {
  ProfileWriter writer(store, kSection);
  writer.Switch("OverrideCISvalues", OverrideCISvalues);
  writer.Int("BlendWidthInThousandths", BlendWidthInThousandths);
  writer.Switch("ShowCrossoverLine", ShowCrossoverLine);
  writer.Switch("DisableTwinArrayProcessing", DisableTwinArrayProcessing);
  return writer.Outcome();
}

Result TwinArraySettings::Validate() const {
  SettingsCheck check;
  check.Field(kSection, "BlendWidthInThousandths", BlendWidthInThousandths);
  return check.Outcome();
}

}  // namespace tarvelo
