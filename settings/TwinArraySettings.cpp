#include "settings/TwinArraySettings.h"

namespace tarvelo {

TwinArraySettings::TwinArraySettings(const ProfileStore& store) {
  OverrideCISvalues = store.GetProfileInt(kSection, "OverrideCISvalues", 1) != 0;
  ShowCrossoverLine = store.GetProfileInt(kSection, "ShowCrossoverLine", 1) != 0;
  DisableTwinArrayProcessing = store.GetProfileInt(kSection, "DisableTwinArrayProcessing", 0) != 0;
  BlendWidthInThousandths = store.GetProfileInt(kSection, "BlendWidthInThousandths", 60);
}

bool TwinArraySettings::Save(ProfileStore& store) const {
  bool ok = store.WriteProfileInt(kSection, "OverrideCISvalues", OverrideCISvalues ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, "BlendWidthInThousandths", BlendWidthInThousandths);
  ok &= store.WriteProfileInt(kSection, "ShowCrossoverLine", ShowCrossoverLine ? 1 : 0);
  ok &= store.WriteProfileInt(kSection, "DisableTwinArrayProcessing", DisableTwinArrayProcessing ? 1 : 0);
  return ok;
}

SettingsProblems TwinArraySettings::Validate() const {
  SettingsProblems problems;
  CheckRange(problems, "Blending Seam Width in Thousandths of an Inch", BlendWidthInThousandths, 0LL, 100LL);
  return problems;
}

}  // namespace tarvelo
