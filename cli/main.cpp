// tarvelo-cli: batch conversion of CIS roll scans, header reports and settings.
#include <CLI/CLI.hpp>

#include "cli/Commands.h"

namespace {

void AddProfileOptions(CLI::App& command, tarvelo::cli::ProfileOptions& options) {
  command.add_option("--profile", options.profile_path, "Settings profile file (default: the user's profile)");
  command.add_option("--set", options.sets, "Override a setting for this run: \"Section/Key=Value\" (repeatable)")
      ->allow_extra_args(false);
  command.add_option("--preset", options.preset, "Use scanner preset N (0-15) for this run");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarvelo::cli;
  CLI::App app{"Tarvelo: converts CIS roll scans into MIDI files"};
  app.require_subcommand(1);

  InfoOptions info;
  auto* info_command = app.add_subcommand("info", "Show the header of CIS files");
  AddProfileOptions(*info_command, info.profile);
  info_command->add_option("files", info.files, "CIS files")->required();

  ConvertOptions convert;
  auto* convert_command = app.add_subcommand("convert", "Convert CIS files");
  AddProfileOptions(*convert_command, convert.profile);
  convert_command->add_flag("--quiet,-q", convert.quiet, "No progress bar");
  convert_command->add_option("files", convert.files, "CIS files")->required();

  SettingsOptions settings;
  auto* settings_command = app.add_subcommand("settings", "Read and change the settings profile");
  settings_command->add_option("--profile", settings.profile_path, "Settings profile file");
  settings_command->add_option("action", settings.action, "list, get or set")
      ->required()
      ->check(CLI::IsMember({"list", "get", "set"}));
  settings_command->add_option("names", settings.arguments, "Section/Key (get) or Section/Key=Value (set)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : kExitUsage;
  }
  if (settings_command->parsed() && settings.action != "list" && settings.arguments.empty()) {
    std::fprintf(stderr, "tarvelo-cli: settings %s needs at least one setting name\n", settings.action.c_str());
    return kExitUsage;
  }

  if (info_command->parsed()) return RunInfo(info);
  if (convert_command->parsed()) return RunConvert(convert);
  return RunSettings(settings);
}
