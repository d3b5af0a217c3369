// tarvelo-cli convert FILE.cis|FOLDER...: converts every file of the batch, N at a time, and
// tells the truth about each: its status, its messages, a summary and the exit status.
#include <cstdio>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "align/PrepareScan.h"
#include "cli/BatchInputs.h"
#include "cli/BatchJob.h"
#include "cli/BatchRunner.h"
#include "cli/BatchSummary.h"
#include "cli/Catalog.h"
#include "cli/Commands.h"
#include "cli/FileReporter.h"
#include "cli/JsonReport.h"
#include "cli/MessageLines.h"
#include "cli/OutputFolders.h"
#include "cli/ProgressLine.h"
#include "cli/RollTypeLibrarySetup.h"
#include "cli/RunLog.h"
#include "cli/StopSignals.h"
#include "cli/TerminalReporter.h"
#include "cli/TerminalText.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeLibrary.h"
#include "settings/SettingsDigest.h"
#include "support/AtomicFile.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace {

// Roll information entries for this run, checked like the roll information dialog.
bool ReadInfoEntries(const std::vector<std::string>& items, RollInfoEntries& entries) {
  RollInfo trial;
  for (const std::string& item : items) {
    const size_t equals = item.find('=');
    if (equals == std::string::npos || !trial.SetEntry(item.substr(0, equals), item.substr(equals + 1))) {
      std::fprintf(stderr,
                   "tarvelo-cli: --info wants KEY=VALUE with a roll information entry name "
                   "(title, composer, roll_number, ...; see: tarvelo-cli convert --help), not \"%s\"\n",
                   item.c_str());
      return false;
    }
    entries.emplace_back(item.substr(0, equals), item.substr(equals + 1));
  }
  if (const Result checked = trial.Validate(); !checked.ok()) {
    std::fprintf(stderr, "tarvelo-cli: --info: %s\n", checked.message().c_str());
    return false;
  }
  return true;
}

}  // namespace

bool PrepareRollType(const RollTypeChoice& options, BatchJob& job) {
  const bool automatic = options.roll_type == "auto";
  const std::string roll_type =
      options.roll_type.empty() || automatic ? job.Settings.Roll.ActiveRollTypeName : options.roll_type;
  TerminalReporter setup(false);
  setup.BeginFile(options.library.empty() ? "roll types" : options.library);
  XmlDocument library;
  std::vector<std::string> names{kFailSafeRollTypeName};
  // Without a library only the built-in roll type is there; that is no reason to complain
  // while the built-in type is the one wanted.
  if (!options.library.empty() || roll_type != kFailSafeRollTypeName || automatic) {
    if (!LoadRollTypeLibrary(options.library, library, names, setup) && !options.library.empty()) {
      std::fprintf(stderr, "tarvelo-cli: --roll-types %s cannot be used as the roll type library\n",
                   options.library.c_str());
      return false;
    }
  }
  // Converted as the built-in type, a run still ranks the library's roll types and says which
  // one the holes show; a library that cannot be read then only leaves that out.
  if (options.library.empty() && roll_type == kFailSafeRollTypeName && !automatic) {
    const RollInfoEntries none;
    FileReporter quiet(none);
    if (LoadRollTypeLibrary(options.library, library, names, quiet)) {
      job.Alignment.Library = FillRollTypes(library, names, quiet);
      job.Alignment.NameRecognised = !job.Alignment.Library.empty();
    }
  }
  job.Alignment.Align = options.align || automatic;
  job.Alignment.RecogniseRollType = automatic;
  job.Alignment.KeepPreset = options.no_align;
  if (automatic) job.Alignment.Library = FillRollTypes(library, names, setup);
  if (std::find(names.begin(), names.end(), roll_type) != names.end()) {
    ApplyActiveRollType(job.RollType, roll_type, library, setup).Ignore();  // the name is one of the library's
    return true;
  }
  if (!options.roll_type.empty() && !automatic) {
    std::fprintf(stderr, "tarvelo-cli: no roll type \"%s\" (see: tarvelo-cli roll-types)\n", roll_type.c_str());
    return false;
  }
  // The profile names a roll type the library lacks: every file of the batch fails with why.
  job.RollTypeError = ApplyActiveRollType(job.RollType, roll_type, library, setup).message() +
                      " (the profile's roll type; see: tarvelo-cli roll-types)";
  return true;
}

namespace {

// The report lines of one finished file: its messages (without the notes when `quiet`) and,
// when `with_outputs`, every output written.
std::string OutcomeText(const FileOutcome& outcome, bool quiet, bool with_outputs) {
  std::string text;
  for (const ReportedMessage& message : outcome.Messages)
    if (!quiet || message.Kind != MessageKind::kInformation) text += PrefixedLines(outcome.Input, message.Text);
  if (!with_outputs) return text;
  for (const OutputReport& output : outcome.Outputs) {
    if (!output.Record.Outcome.ok()) continue;
    std::string line = "wrote " + output.Record.Path;
    if (output.Notes >= 0) {
      char facts[64];
      std::snprintf(facts, sizeof facts, " (%d notes, %.1f minutes)", output.Notes, output.Minutes);
      line += facts;
    }
    text += PrefixedLines(outcome.Input, line);
  }
  return text;
}

// The files converted at once: --jobs, else one per core, at most four per core (more only
// take memory: every file being converted holds its scan and its results).
int JobsToRun(int asked) {
  const int cores = DefaultJobs();
  if (asked <= 0) return cores;
  const int most = 4 * cores;
  if (asked <= most) return asked;
  std::fprintf(stderr,
               "tarvelo-cli: --jobs %d is more than 4 per processor core (%d cores); converting %d files at once\n",
               asked, cores, most);
  return most;
}

// Whether `path` names a file in a folder that exists (not a folder itself); says why not.
bool CanBeWritten(const char* option, const std::string& path) {
  const std::filesystem::path file = PathFromUtf8(path);
  const std::filesystem::path folder = file.parent_path();
  std::error_code ec;
  if (std::filesystem::is_directory(folder.empty() ? std::filesystem::path(".") : folder, ec) &&
      !std::filesystem::is_directory(file, ec)) {
    return true;
  }
  std::fprintf(stderr, "tarvelo-cli: %s %s: no folder to write it in\n", option, path.c_str());
  return false;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int RunConvert(const ConvertOptions& options) {
  const auto run_start = std::chrono::steady_clock::now();
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  BatchJob job;
  job.Settings = profile->Settings();
  job.RollInfoTemplate = RollInfo(profile->Store());
  if (!ReadInfoEntries(options.info, job.Entries)) return kExitUsage;
  if (!PrepareRollType(RollTypeChoice{options.library, options.roll_type, options.align, options.no_align}, job))
    return kExitUsage;
  job.SkipScanImage = options.no_scan_midi;
  job.SkipERoll = options.no_eroll_midi;
  if (options.expression_midi) job.Settings.Outputs.WriteExpressionMidi = true;
  if (options.no_expression_midi) job.Settings.Outputs.WriteExpressionMidi = false;
  job.NoClobber = options.no_clobber;
  job.MeasureOutputs = options.verbose || !options.log.empty();

  // Known before the first file: a log or catalogue that could not be written at the end
  // would lose the report of the whole batch.
  if (!options.log.empty() && !CanBeWritten("--log", options.log)) return kExitUsage;
  CatalogFormat catalog_format = CatalogFormat::kCsv;
  if (!options.catalog.empty()) {
    if (!CatalogFormatOf(options.catalog, catalog_format)) {
      std::fprintf(stderr, "tarvelo-cli: --catalog %s: the name must end in .csv or .jsonl\n", options.catalog.c_str());
      return kExitUsage;
    }
    if (!CanBeWritten("--catalog", options.catalog)) return kExitUsage;
    if (options.catalog == options.log) {
      std::fprintf(stderr, "tarvelo-cli: --catalog and --log name one file, %s\n", options.catalog.c_str());
      return kExitUsage;
    }
  }
  std::vector<BatchInput> inputs = CollectInputs(options.files, options.recursive, options.images);
  // The output folders are made as files need them and, when nothing was written into one,
  // removed again at the end: a batch that wrote nothing leaves no empty folder behind.
  OutputFolders folders;
  job.Folders = &folders;
  if (!options.output_dir.empty()) {
    if (const Result made = folders.Make(options.output_dir); !made.ok()) {
      std::fprintf(stderr, "tarvelo-cli: %s\n", made.message().c_str());
      return kExitFileFailed;
    }
  }
  OutputPlan plan;
  plan.OutputDir = options.output_dir;
  plan.KeepTree = options.keep_tree;
  plan.ScanImage = !options.no_scan_midi;
  plan.ERoll = !options.no_eroll_midi;
  if (const Result planned = PlanOutputs(inputs, plan, job.Settings); !planned.ok()) {
    folders.RemoveEmpty();
    std::fprintf(stderr, "tarvelo-cli: %s\n", planned.message().c_str());
    return kExitUsage;
  }
  const int jobs = JobsToRun(options.jobs);

  ProgressLine progress_line(!options.quiet);
  BatchSummary summary;
  JsonReport report;
  Catalog catalog;
  LogHeader header;
  header.Started = std::time(nullptr);
  header.CommandLine = options.command_line;
  header.Profile = profile->Location();
  header.SettingsDigest = SettingsDigest(job.Settings);
  std::string log = LogHeaderText(header);
  const auto on_outcome = [&](FileOutcome&& outcome) {
    progress_line.Clear();
    // On a terminal no line is wider than it: long message lines go on below themselves.
    constexpr int kContinuationIndent = 4;
    std::fputs(
        WrapLines(OutcomeText(outcome, options.quiet, options.verbose), StandardErrorColumns(), kContinuationIndent)
            .c_str(),
        stderr);
    std::fflush(stderr);
    if (!options.log.empty()) log += OutcomeText(outcome, false, true) + LogFileLine(outcome);
    summary.Add(outcome);
    if (options.json) report.AddFile(outcome);
    if (!options.catalog.empty()) catalog.Add(outcome);
  };
  const auto on_progress = [&](const BatchProgress& progress) {
    if (!progress_line.Enabled()) return;
    progress_line.Show(BatchProgressText(progress.Done, progress.Total, progress.Current, progress.Elapsed,
                                         progress.Remaining, progress_line.Columns()));
  };
  const int never_started = RunBatch(inputs, job, jobs, on_outcome, on_progress);
  progress_line.Clear();
  folders.RemoveEmpty();

  const int stop_signal = StopSignal();
  int status = stop_signal != 0 ? ExitStatusForSignal(stop_signal)
                                : ExitStatusForBatch(summary.Count(FileStatus::kFailed),
                                                     summary.Count(FileStatus::kConvertedWithWarnings), options.strict);
  const std::string place = options.output_dir.empty() ? "beside the inputs"
                            : options.keep_tree        ? "below " + options.output_dir
                                                       : "in " + options.output_dir;
  const double seconds = SecondsSince(run_start);
  if (!options.quiet || stop_signal != 0) {
    std::fputs(summary.Text(place, seconds, stop_signal, never_started, StandardErrorColumns()).c_str(), stderr);
  }
  if (!options.log.empty()) {
    const std::string summary_text = summary.Text(place, seconds, stop_signal, never_started);
    if (const Result written =
            WriteFileAtomically(options.log, log + "\n" + summary_text, Flush::kToDisk, Destination::kFileOrStream);
        !written.ok()) {
      std::fprintf(stderr, "tarvelo-cli: the log was not written: %s\n", written.message().c_str());
      if (stop_signal == 0) status = WorseExitStatus(status, kExitFileFailed);
    }
  }
  if (!options.catalog.empty()) {
    // Written when stopped too: the rows of the files done are as true as they were.
    if (const Result written = WriteFileAtomically(options.catalog, catalog.Text(catalog_format)); !written.ok()) {
      std::fprintf(stderr, "tarvelo-cli: the catalogue was not written: %s\n", written.message().c_str());
      if (stop_signal == 0) status = WorseExitStatus(status, kExitFileFailed);
    }
  }
  if (options.json) report.Print(summary, status, stop_signal, seconds);
  return status;
}

}  // namespace tarvelo::cli
