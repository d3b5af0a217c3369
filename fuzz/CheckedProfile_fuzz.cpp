// Fuzz target: any text as the settings profile of a run. Reading every setting through the
// check must neither crash nor hang, every finding must say something, and no prefix or suffix
// a run uses may lead an output out of its folder or put a control character into its name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/CheckedProfile.h"
#include "settings/IniProfile.h"
#include "settings/RunSettings.h"
#include "settings/SettingsCatalog.h"
#include "settings/SettingsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarvelo::IniProfile profile;
  profile.LoadFromText({reinterpret_cast<const char*>(data), size});
  const tarvelo::RunSettings run = tarvelo::RunSettings::FromProfile(profile);
  for (const tarvelo::SettingFinding& finding : run.ProfileFindings)
    if (finding.Message.empty()) std::abort();
  const tarvelo::CheckedProfile checked(profile);
  for (const tarvelo::SettingValue& setting : tarvelo::EffectiveSettings(checked)) {
    const tarvelo::SettingRule* rule = tarvelo::FindSettingRule(setting.section, setting.key);
    if (rule && !tarvelo::CheckFileNamePart(*rule, setting.value).ok()) std::abort();
  }
  for (const std::string* part :
       {&run.General.ScanMidiFilePrefix, &run.General.ScanMidiFileSuffix, &run.ERoll.eRollMidiFilePrefix,
        &run.ERoll.eRollMidiFileSuffix, &run.Outputs.ExpressionMidiFilePrefix, &run.Outputs.ExpressionMidiFileSuffix})
    if (part->find('/') != std::string::npos || part->find("..") != std::string::npos) std::abort();
  return 0;
}
