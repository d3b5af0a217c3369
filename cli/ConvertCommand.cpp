// tarvelo-cli convert FILE.cis...: opens each file and runs the whole conversion.
#include <cstdio>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "align/PrepareScan.h"
#include "cis/RollInfo.h"
#include "cli/Commands.h"
#include "cli/JsonReport.h"
#include "cli/RollTypeLibrarySetup.h"
#include "cli/TerminalReporter.h"
#include "document/TarveloDoc.h"
#include "support/Console.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int RunConvert(const ConvertOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  const RunSettings settings = profile->Settings();
  const RollInfo roll_info_template(profile->Store());
  TerminalReporter ui(!options.quiet && IsTerminal(stderr));
  // Roll information entries for this run, checked like the roll information dialog.
  std::vector<std::pair<std::string, std::string>> entries;
  RollInfo trial;
  for (const std::string& item : options.info) {
    const size_t equals = item.find('=');
    if (equals == std::string::npos || !trial.SetEntry(item.substr(0, equals), item.substr(equals + 1))) {
      std::fprintf(stderr,
                   "tarvelo-cli: --info wants KEY=VALUE with a roll information entry name "
                   "(title, composer, roll_number, ...), not \"%s\"\n",
                   item.c_str());
      return kExitUsage;
    }
    entries.emplace_back(item.substr(0, equals), item.substr(equals + 1));
  }
  if (const Result checked = trial.Validate(); !checked.ok()) {
    std::fprintf(stderr, "tarvelo-cli: --info: %s\n", checked.message().c_str());
    return kExitUsage;
  }
  ui.SetRollInfoEntries(std::move(entries));

  // The roll type of this run: --roll-type, else the profile's active roll type. "auto" aligns
  // each file and takes the roll type it recognises; while the holes do not decide, the
  // profile's stays.
  const bool automatic = options.roll_type == "auto";
  const bool align = options.align || automatic;
  const std::string roll_type =
      options.roll_type.empty() || automatic ? settings.Roll.ActiveRollTypeName : options.roll_type;
  XmlDocument library;
  std::vector<std::string> names;
  ui.BeginFile(options.library.empty() ? "roll types" : options.library);
  // Without a library only the built-in roll type is there; that is no reason to complain
  // while the built-in type is the one wanted.
  if (!options.library.empty() || roll_type != "Fail-Safe" || automatic)
    LoadRollTypeLibrary(options.library, library, names, ui);
  if (!options.roll_type.empty() && !automatic && std::find(names.begin(), names.end(), roll_type) == names.end() &&
      roll_type != "Fail-Safe") {
    std::fprintf(stderr, "tarvelo-cli: no roll type \"%s\" (see: tarvelo-cli roll-types)\n", roll_type.c_str());
    return kExitUsage;
  }

  std::string output_dir = options.output_dir;
  if (!output_dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(output_dir), ec);
    if (!std::filesystem::is_directory(PathFromUtf8(output_dir))) {
      std::fprintf(stderr, "tarvelo-cli: cannot use %s as the output folder: %s\n", output_dir.c_str(),
                   ec ? ec.message().c_str() : "not a folder");
      return kExitFileFailed;
    }
    output_dir = WithTrailingSeparator(output_dir);
  }

  AlignmentOptions alignment;
  alignment.Align = align;
  alignment.RecogniseRollType = automatic;
  if (automatic) alignment.Library = FillRollTypes(library, names, ui);

  JsonReport report;
  const auto run_start = std::chrono::steady_clock::now();
  int status = kExitOk;
  for (const std::string& path : options.files) {
    const auto file_start = std::chrono::steady_clock::now();
    ui.BeginFile(path);
    TarveloDoc doc(ui, ui, roll_info_template);
    doc.ApplyRollType(library, roll_type);
    doc.SetOutputFolder(output_dir);
    doc.SetScanImageMidiSkipped(options.no_scan_midi);
    doc.SetERollMidiSkipped(options.no_eroll_midi);
    doc.SetSpacingHistogramWanted(false);  // the command line never shows it
    if (align) doc.SetAlignment(alignment);
    const Result loaded = doc.Load(path, settings);
    ui.EndFile();
    if (options.json) report.AddFile(path, loaded, doc, ui.Messages(), SecondsSince(file_start));
    // Every failure has been reported as it happened.
    status = WorseExitStatus(status, ExitStatusForFile(loaded));
    for (const OutputFileRecord& output : doc.Summary().Outputs)
      status = WorseExitStatus(status, ExitStatusForFile(output.Outcome));
  }
  if (options.json) report.Print(status == kExitOk, SecondsSince(run_start));
  return status;
}

}  // namespace tarvelo::cli
