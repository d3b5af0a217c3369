// tarvelo-cli settings list | get Section/Key | set Section/Key=Value
#include <cstdio>

#include "cli/Commands.h"
#include "settings/SettingsCatalog.h"

namespace tarvelo::cli {

namespace {

void PrintSetting(const SettingValue& s) {
  std::printf("%s/%s=%s\n", s.section.c_str(), s.key.c_str(), s.value.c_str());
}

}  // namespace

int RunSettings(const SettingsOptions& options) {
  IniProfile profile(options.profile_path.empty() ? DefaultProfilePath() : options.profile_path);
  for (const std::string& problem : profile.Problems())
    std::fprintf(stderr, "tarvelo-cli: profile %s: %s\n", profile.Path().c_str(), problem.c_str());

  if (options.action == "list") {
    for (const SettingValue& s : EffectiveSettings(profile)) PrintSetting(s);
    return kExitOk;
  }
  if (options.action == "get") {
    const auto settings = EffectiveSettings(profile);
    int status = kExitOk;
    for (const std::string& name : options.arguments) {
      std::string section, key;
      const SettingValue* found = SplitSettingName(name, section, key, nullptr)
                                      ? FindSetting(settings, section, key)
                                      : nullptr;
      if (!found) {
        std::fprintf(stderr, "tarvelo-cli: unknown setting \"%s\" (see: tarvelo-cli settings list)\n", name.c_str());
        status = kExitUsage;
        continue;
      }
      std::printf("%s\n", found->value.c_str());
    }
    return status;
  }
  // set
  for (const std::string& assignment : options.arguments) {
    std::string section, key, value;
    if (!SplitSettingName(assignment, section, key, &value)) {
      std::fprintf(stderr, "tarvelo-cli: settings set wants \"Section/Key=Value\", not \"%s\"\n", assignment.c_str());
      return kExitUsage;
    }
    const SettingsProblems problems = SetSetting(profile, section, key, value);
    if (!problems.empty()) {
      for (const std::string& problem : problems) std::fprintf(stderr, "tarvelo-cli: %s\n", problem.c_str());
      const bool saved_failed = problems.size() == 1 && problems[0] == "the profile could not be saved";
      return saved_failed ? kExitFileFailed : kExitUsage;
    }
  }
  return kExitOk;
}

}  // namespace tarvelo::cli
