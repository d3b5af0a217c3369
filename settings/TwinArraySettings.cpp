#include "settings/TwinArraySettings.h"

namespace tarvelo {

TwinArraySettings::TwinArraySettings(const ProfileStore& store) {
  OverrideCISvalues = store.GetProfileInt(kSection, "OverrideCISvalues", 1) != 0;
  ShowCrossoverLine = store.GetProfileInt(kSection, "ShowCrossoverLine", 1) != 0;
  DisableTwinArrayProcessing = store.GetProfileInt(kSection, "DisableTwinArrayProcessing", 0) != 0;
  BlendWidthInThousandths = store.GetProfileInt(kSection, "BlendWidthInThousandths", 60);
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
  check.Range("Blending Seam Width in Thousandths of an Inch", BlendWidthInThousandths, 0LL, 100LL);
  return check.Outcome();
}

}  // namespace tarvelo
