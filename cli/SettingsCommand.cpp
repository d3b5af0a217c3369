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

int RunSettingsCommand(const SettingsOptions& options) {
  const OpenedProfile opened = OpenProfile(options.profile_path);
  for (const std::string& problem : opened.Problems)
    std::fprintf(stderr, "tarvelo-cli: profile %s: %s\n", opened.Location.c_str(), problem.c_str());
  ProfileStore& profile = *opened.Store;

  if (options.action == "list") {
    for (const SettingValue& s : EffectiveSettings(profile)) PrintSetting(s);
    return kExitOk;
  }
  if (options.action == "get") {
    const auto settings = EffectiveSettings(profile);
    int status = kExitOk;
    for (const std::string& name : options.arguments) {
      std::string section, key;
      const SettingValue* found =
          SplitSettingName(name, section, key, nullptr) ? FindSetting(settings, section, key) : nullptr;
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
    if (const Result changed = SetSetting(profile, section, key, value); !changed.ok()) {
      std::fprintf(stderr, "tarvelo-cli: %s\n", changed.message().c_str());
      return ExitStatusForArgument(changed);
    }
  }
  return kExitOk;
}

}  // namespace tarvelo::cli
