#include <cstdio>

#include "cis/CisFile.h"
#include "cli/Commands.h"
#include "settings/SettingsCatalog.h"

namespace tarvelo::cli {

bool SplitSettingName(const std::string& text, std::string& section, std::string& key, std::string* value) {
  const size_t equals = text.find('=');
  const std::string name = text.substr(0, equals);
  const size_t slash = name.find('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 >= name.size()) return false;
  section = name.substr(0, slash);
  key = name.substr(slash + 1);
  if (value) {
    if (equals == std::string::npos) return false;
    *value = text.substr(equals + 1);
  }
  return true;
}

RunSettings RunProfile::Settings() const {
  RunSettings settings = RunSettings::FromProfile(overlay_);
  std::vector<SettingFinding> dropped;
  for (const std::string& problem : stored_.Problems)
    dropped.push_back(SettingFinding{"", "", "", "The profile " + stored_.Location + ": " + problem + "."});
  settings.ProfileFindings.insert(settings.ProfileFindings.begin(), dropped.begin(), dropped.end());
  return settings;
}

std::unique_ptr<RunProfile> RunProfile::Open(const ProfileOptions& options) {
  SetMaxScanBytes(static_cast<uint64_t>(options.max_scan_mb) * 1024 * 1024);
  std::unique_ptr<RunProfile> run(new RunProfile(OpenProfile(options.profile_path)));
  for (const std::string& problem : run->stored_.Problems)
    std::fprintf(stderr, "tarvelo-cli: profile %s: %s\n", run->stored_.Location.c_str(), problem.c_str());

  std::vector<std::string> sets = options.sets;
  if (options.preset >= 0)
    sets.insert(sets.begin(), "Scanner Settings/CurrentPreset=" + std::to_string(options.preset));
  // The picture options are settings of this run, as --set would give them.
  if (!options.image_holes.empty())
    sets.push_back(std::string("Picture Settings/PictureHoles=") + (options.image_holes == "light" ? "1" : "2"));
  if (!options.image_start.empty())
    sets.push_back(std::string("Picture Settings/PictureStart=") + (options.image_start == "top" ? "1" : "0"));
  if (options.image_lpi > 0)
    sets.push_back("Picture Settings/PictureLinesPerInch=" + std::to_string(options.image_lpi));
  for (const std::string& set : sets) {
    std::string section, key, value;
    if (!SplitSettingName(set, section, key, &value)) {
      std::fprintf(stderr, "tarvelo-cli: --set wants \"Section/Key=Value\", not \"%s\"\n", set.c_str());
      return nullptr;
    }
    // The same checks as a settings dialog; the value is held for this run only.
    if (const Result changed = SetSetting(run->overlay_, section, key, value); !changed.ok()) {
      std::fprintf(stderr, "tarvelo-cli: --set %s: %s\n", set.c_str(), changed.message().c_str());
      return nullptr;
    }
  }
  return run;
}

}  // namespace tarvelo::cli
