// tarvelo-cli settings list | get Section/Key | set Section/Key=Value
#include <algorithm>
#include <cstdio>

#include "cli/Commands.h"
#include "cli/RollTypeLibrarySetup.h"
#include "cli/StopSignals.h"
#include "cli/TerminalReporter.h"
#include "cli/VisibleText.h"
#include "settings/CheckedProfile.h"
#include "settings/OutputSettings.h"
#include "settings/ScannerPresets.h"
#include "settings/SettingsCatalog.h"

namespace tarvelo::cli {

namespace {

void PrintSetting(const SettingValue& s) {
  std::printf("%s/%s=%s\n", s.section.c_str(), s.key.c_str(), VisibleText(s.value).c_str());
}

// A stored value that is not the one in force.
void PrintFinding(const SettingFinding& finding) {
  std::fprintf(stderr, "tarvelo-cli: warning: %s\n", VisibleText(finding.Message).c_str());
}

// The key without its preset index, folded.
std::string KeyStem(const std::string& key) {
  std::string stem = FoldProfileName(key);
  while (!stem.empty() && stem.back() >= '0' && stem.back() <= '9') stem.pop_back();
  return stem;
}

// The active roll type must be one of the library's when the library can be read (the
// settings dialogs offer only those); kNotFound for another name.
Result CheckRollTypeName(const std::string& section, const std::string& key, const std::string& value) {
  if (FoldProfileName(section) != FoldProfileName(RollSettings::kSection) ||
      FoldProfileName(key) != "activerolltypename") {
    return Result::Ok();
  }
  TerminalReporter silent(false);
  silent.SetEchoMessages(false);
  XmlDocument library;
  std::vector<std::string> names;
  if (!LoadRollTypeLibrary("", library, names, silent)) {
    std::fprintf(stderr, "tarvelo-cli: warning: the roll type library cannot be read; \"%s\" was not checked\n",
                 value.c_str());
  } else if (std::find(names.begin(), names.end(), value) == names.end()) {
    return Result::NotFound("no roll type \"" + value + "\" (see: tarvelo-cli roll-types)");
  }
  return Result::Ok();
}

// A scanner mode that is not one of the four names is stored, as the preset dialog stores
// any text, with a warning: conversions with it fall back to the default mode.
void WarnAboutScannerMode(const std::string& section, const std::string& key, const std::string& value) {
  if (FoldProfileName(section) != FoldProfileName(ScannerPresets::kSection) || KeyStem(key) != "scannermodetype")
    return;
  const char* modes[] = {kModeNoEncoding, kModeCountDown, kModeCountUp, kModeShaftEncoder};
  if (std::any_of(std::begin(modes), std::end(modes), [&value](const char* mode) { return value == mode; })) return;
  std::fprintf(stderr,
               "tarvelo-cli: warning: \"%s\" is not a scanner mode name (\"%s\", \"%s\", \"%s\", \"%s\"); "
               "conversions with it use the default mode and report an error\n",
               value.c_str(), kModeNoEncoding, kModeCountDown, kModeCountUp, kModeShaftEncoder);
}

}  // namespace

int RunSettingsCommand(const SettingsOptions& options) {
  const OpenedProfile opened = OpenProfile(options.profile_path);
  for (const std::string& problem : opened.Problems)
    std::fprintf(stderr, "tarvelo-cli: profile %s: %s\n", opened.Location.c_str(), problem.c_str());
  ProfileStore& profile = *opened.Store;

  // list and get show the values a run uses; where that is not what the profile stores, the
  // check's finding says so on standard error.
  const CheckedProfile checked(profile);
  if (options.action == "list") {
    const auto settings = EffectiveSettings(checked);
    for (const SettingValue& s : settings) PrintSetting(s);
    for (const SettingFinding& finding : checked.Findings()) PrintFinding(finding);
    return kExitOk;
  }
  if (options.action == "get") {
    const auto settings = EffectiveSettings(checked);
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
      std::printf("%s\n", VisibleText(found->value).c_str());
      for (const SettingFinding& finding : checked.Findings())
        if (SameProfileName(finding.Section, found->section) && SameProfileName(finding.Key, found->key))
          PrintFinding(finding);
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
    if (const Result checked = CheckRollTypeName(section, key, value); !checked.ok()) {
      std::fprintf(stderr, "tarvelo-cli: %s\n", checked.message().c_str());
      return ExitStatusForArgument(checked);
    }
    if (const Result changed = SetSetting(profile, section, key, value); !changed.ok()) {
      std::fprintf(stderr, "tarvelo-cli: %s\n", changed.message().c_str());
      if (changed.kind() == Result::Kind::kCancelled && StopSignal() != 0) return ExitStatusForSignal(StopSignal());
      return ExitStatusForArgument(changed);
    }
    WarnAboutScannerMode(section, key, value);
  }
  return kExitOk;
}

}  // namespace tarvelo::cli
