// tarvelo-cli align FILE.cis|FOLDER...: measures each scan and tells the scanner settings (and the
// roll type) that put its holes on their tracks; --write-preset stores them in a preset.
#include <cstdio>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "align/AlignOpenedScan.h"
#include "align/AlignScan.h"
#include "align/PlacementVerdict.h"
#include "align/PrepareScan.h"
#include "align/StoreInPreset.h"
#include "cli/BatchInputs.h"
#include "cli/Commands.h"
#include "cli/FileReporter.h"
#include "cli/RollTypeLibrarySetup.h"
#include "cli/TerminalReporter.h"
#include "document/PictureRunSettings.h"
#include "images/ScanFile.h"
#include "rolltypes/RollTypeLibrary.h"
#include "support/Console.h"
#include "support/NumberFormat.h"

namespace tarvelo::cli {

namespace {

// A twin array scan: which values join its two halves better, the header's or the override's
// (Twin Array Settings/OverrideCISvalues), each measured at its own best fit.
void ReportTwinValues(const std::string& path, const RunSettings& settings, const AlignRequest& request,
                      const AlignmentReport& in_force, TerminalReporter& ui) {
  if (!in_force.TwinArray.Measured) return;
  RunSettings other = settings;
  other.TwinArray.OverrideCISvalues = !settings.TwinArray.OverrideCISvalues;
  // The second reading says nothing new: its messages are dropped.
  const RollInfoEntries none;
  FileReporter quiet(none);
  PreparedScan scan;
  if (!PrepareScan(path, other, quiet, scan).ok()) return;
  const AlignmentReport report = AlignPreparedScan(scan, settings.Scanner.ScanLightingMethod, request);
  if (!report.TwinArray.Measured) return;
  const auto pixels = [](double step) {
    const long n = std::lround(std::abs(step));
    return std::to_string(n) + (n == 1 ? " pixel" : " pixels");
  };
  const bool override_now = settings.TwinArray.OverrideCISvalues;
  const char* now = override_now ? "the override's" : "the header's";
  const char* then = override_now ? "the header's" : "the override's";
  const double step_now = std::abs(in_force.TwinArray.Step), step_then = std::abs(report.TwinArray.Step);
  std::string text = std::string("Twin arrays: ") + now + " values (in force) join the halves " + pixels(step_now) +
                     " apart, " + then + " values " + pixels(step_then) + " apart";
  if (step_then + 2 < step_now) {
    text +=
        std::string("; ") + then +
        " join them better: convert with --set \"Twin Array Settings/OverrideCISvalues=" + (override_now ? "0" : "1") +
        "\".";
  } else {
    text += ".";
  }
  ui.ShowMessage(MessageKind::kInformation, text);
}

}  // namespace

namespace {

std::string Percent(double share) { return FormatFixed(100 * share, 2) + " %"; }

// The roll type the suggestion is for, or "" when recognition did not decide.
std::string SuggestedType(const AlignmentReport& report, bool automatic) {
  if (automatic && !report.Ranking.Decided) return "";
  return report.Suggestion.Name;
}

void PrintReport(const std::string& path, const AlignmentReport& report, bool automatic) {
  const TrackFit& fit = report.Suggestion.Fit;
  std::printf("%s\n", path.c_str());
  std::printf("  DPI:            header %d%s, preset %d\n", report.HeaderDpi,
              report.HeaderDpiUsable ? "" : " (not usable)", report.InForce.Dpi);
  std::string edges;
  edges += fit.LowerEdgeFound ? FormatFixed(fit.LowerEdge, 3) + " in" : "not seen";
  edges += " and ";
  edges += fit.UpperEdgeFound ? FormatFixed(fit.UpperEdge, 3) + " in" : "not seen";
  std::printf("  paper edges:    %s\n", edges.c_str());
  const std::string type = SuggestedType(report, automatic);
  std::printf("  suggestion:     DPI %d, offset %s in, stretch %s for %s\n", fit.Setting.Dpi,
              FormatFixed(fit.Setting.Offset, 4).c_str(), FormatFixed(fit.Setting.Stretch, 4).c_str(),
              type.empty() ? (report.Suggestion.Name + " (in use; the roll type is undecided)").c_str()
              : automatic  ? (type + " (recognised)").c_str()
                           : type.c_str());
  std::printf("  holes on track: %s with the suggestion, %s with the settings in force (%s, offset %s in)\n",
              Percent(fit.Count.Share()).c_str(), Percent(report.InForceType.Before.Share()).c_str(),
              report.InForceType.Name.c_str(), FormatFixed(report.InForce.Offset, 4).c_str());
  if (!report.Ranking.Ranked.empty()) {
    std::string ranked;
    for (const RollTypeFit& candidate : report.Ranking.Ranked)
      ranked += (ranked.empty() ? "" : ", ") + candidate.Name + " " + FormatFixed(candidate.Score, 3);
    std::printf("  roll types:     %s%s\n", report.Ranking.Decided ? "" : "(undecided) ", ranked.c_str());
  }
}

nlohmann::json MessagesJson(const std::vector<ReportedMessage>& messages) {
  nlohmann::json reported = nlohmann::json::array();
  for (const ReportedMessage& message : messages)
    reported.push_back({{"kind", MessageKindName(message.Kind)}, {"text", message.Text}});
  return reported;
}

nlohmann::json FileJson(const std::string& path, const AlignmentReport& report, bool automatic,
                        const std::vector<ReportedMessage>& messages) {
  using nlohmann::json;
  const TrackFit& fit = report.Suggestion.Fit;
  json file = {{"path", path}};
  file["dpi"] = fit.Setting.Dpi;
  file["offset"] = fit.Setting.Offset;
  file["stretch"] = fit.Setting.Stretch;
  const std::string type = SuggestedType(report, automatic);
  file["roll_type"] = type.empty() ? json(nullptr) : json(type);
  file["on_track"] = fit.Count.Share();
  file["on_track_before"] = report.InForceType.Before.Share();
  file["paper_edges"] = {fit.LowerEdgeFound ? json(fit.LowerEdge) : json(nullptr),
                         fit.UpperEdgeFound ? json(fit.UpperEdge) : json(nullptr)};
  json candidates = json::array();
  for (const RollTypeFit& candidate : report.Ranking.Ranked)
    candidates.push_back({{"roll_type", candidate.Name}, {"score", candidate.Score}});
  file["candidates"] = std::move(candidates);
  file["messages"] = MessagesJson(messages);
  return file;
}

}  // namespace

namespace {

// A CIS file as PrepareScan prepares it; a picture opened as a conversion opens it and prepared
// with the settings a picture's run takes (its DPI, lighting and the offset of its paper).
Result PrepareAnyScan(const std::string& path, const RunSettings& settings, const RollTypeDefinition& roll_type,
                      Reporter& reporter, PreparedScan& scan, int& lighting_method) {
  lighting_method = settings.Scanner.ScanLightingMethod;
  if (!IsPictureFileName(path)) return PrepareScan(path, settings, reporter, scan);
  CisScanData opened;
  if (Result read = OpenScanFile(path, ScanOpenOptionsFor(settings, roll_type), opened, reporter); !read.ok())
    return read;
  opened.KeepAsRead();
  const RunSettings run = SettingsForScan(settings, opened, roll_type);
  lighting_method = run.Scanner.ScanLightingMethod;
  PrepareOpenedScan(opened, run, reporter, scan);
  return Result::Ok();
}

}  // namespace

int RunAlign(const AlignOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  const RunSettings settings = profile->Settings();
  const std::vector<BatchInput> inputs = CollectInputs(options.files, options.recursive, options.images);
  if (options.write_preset >= 0 && inputs.size() != 1) {
    std::fprintf(stderr, "tarvelo-cli: --write-preset stores the suggestion for one file; %zu were given\n",
                 inputs.size());
    return kExitUsage;
  }
  if (options.write_preset >= kPresetCount) {
    std::fprintf(stderr, "tarvelo-cli: --write-preset wants a preset from 0 to 15, not %d\n", options.write_preset);
    return kExitUsage;
  }
  TerminalReporter ui(!options.json && IsTerminal(stderr));
  ui.SetEchoMessages(!options.json);

  // The roll types to rank (the whole library) and the one in force: --roll-type NAME, else the
  // profile's active roll type (also the fallback of --roll-type auto while it cannot decide).
  const bool automatic = options.roll_type == "auto";
  const std::string in_force_name =
      options.roll_type.empty() || automatic ? settings.Roll.ActiveRollTypeName : options.roll_type;
  XmlDocument library;
  std::vector<std::string> names;
  ui.BeginFile(options.library.empty() ? "roll types" : options.library);
  LoadRollTypeLibrary(options.library, library, names, ui);
  if (!options.roll_type.empty() && !automatic && options.roll_type != kFailSafeRollTypeName &&
      std::find(names.begin(), names.end(), options.roll_type) == names.end()) {
    std::fprintf(stderr, "tarvelo-cli: no roll type \"%s\" (see: tarvelo-cli roll-types)\n", options.roll_type.c_str());
    return kExitUsage;
  }
  const std::vector<RollTypeDefinition> types = FillRollTypes(library, names, ui);
  RollTypeDefinition in_force;
  for (const RollTypeDefinition& type : types)
    if (type.Name == in_force_name) in_force = type;

  nlohmann::json files = nlohmann::json::array();
  int status = kExitOk;
  for (const BatchInput& input : inputs) {
    const std::string& path = input.Path;
    ui.BeginFile(path);
    PreparedScan scan;
    int lighting_method = settings.Scanner.ScanLightingMethod;
    const Result prepared = input.Problem.empty() ? PrepareAnyScan(path, settings, in_force, ui, scan, lighting_method)
                                                  : Result::NotFound(input.Problem);
    if (!input.Problem.empty()) ui.ShowMessage(MessageKind::kError, input.Problem);
    if (!prepared.ok()) {
      ui.EndFile();
      status = WorseExitStatus(status, ExitStatusForFile(prepared));
      if (options.json) {
        files.push_back({{"path", path}, {"error", prepared.message()}, {"messages", MessagesJson(ui.Messages())}});
      }
      continue;
    }
    AlignRequest request;
    request.RollType = &in_force;
    for (const RollTypeDefinition& type : types) request.Library.push_back(&type);
    request.Recognise = !types.empty();
    request.SuggestRecognised = automatic;
    const AlignRequest twin_request = request;
    const AlignmentReport report = AlignPreparedScan(scan, lighting_method, std::move(request));
    // What the settings in force do to the notes, in the words and numbers a conversion uses;
    // when the roll type in force was not fitted (another was recognised), the measurement's
    // note on the paper edge stands in.
    const bool judged = report.InForceType.Fit.Found;
    for (const AlignmentNote& note : report.Notes)
      if (!(judged && note.AboutSettingsInForce)) ui.ShowMessage(note.Kind, note.Text);
    if (judged) {
      const PlacementVerdict verdict = JudgePlacement(report, settings.Scanner.ActiveTracking);
      if (verdict.Wrong())
        ui.ShowMessage(MessageKind::kWarning, "Now, with the settings in force, " + DescribePlacement(verdict, false) +
                                                  ". " + std::string(ui.AlignAdvice()));
    }
    if (scan.Data.Run.TwinArray) ReportTwinValues(path, settings, twin_request, report, ui);
    const TrackFit& fit = report.Suggestion.Fit;
    if (!fit.Found) {
      ui.ShowMessage(MessageKind::kError, "No settings fit this scan: its holes could not be measured.");
      status = WorseExitStatus(status, kExitFileFailed);
    } else if (options.write_preset >= 0) {
      const int was_current = ScannerPresets(profile->Stored()).CurrentIndex();
      const Result stored = StoreInPreset(profile->Stored(), options.write_preset, fit.Setting);
      if (stored.ok()) {
        // Storing makes the preset the current one, as the preset dialog's Apply does: the
        // next conversions use it.
        const std::string preset = "scanner preset " + std::to_string(options.write_preset);
        ui.ShowMessage(MessageKind::kInformation,
                       was_current == options.write_preset
                           ? "The suggestion was stored in " + preset + ", the current preset."
                           : "The suggestion was stored in " + preset + ", which is now the current preset (it was " +
                                 "preset " + std::to_string(was_current) + ").");
      } else {
        ui.ShowMessage(MessageKind::kError, "The suggestion was not stored in scanner preset " +
                                                std::to_string(options.write_preset) + ": " + stored.message());
        status = WorseExitStatus(status, kExitFileFailed);
      }
    }
    ui.EndFile();
    if (options.json) {
      files.push_back(FileJson(path, report, automatic, ui.Messages()));
    } else if (fit.Found) {
      PrintReport(path, report, automatic);
    }
  }
  if (options.json) {
    const nlohmann::json document = {{"files", std::move(files)}};
    // Texts from a scan may hold any bytes; invalid UTF-8 is replaced rather than refused.
    std::printf("%s\n", document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  }
  std::fflush(stdout);
  return status;
}

}  // namespace tarvelo::cli
