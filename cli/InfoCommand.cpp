// tarvelo-cli info FILE.cis|FOLDER...: the header summary of each file, plus the lines read, the
// damaged lines, the roll's length and its playing time, without converting anything; with
// --json the same as one JSON document.
#include <cstdio>

#include <nlohmann/json.hpp>

#include "cis/CisFile.h"
#include "cis/HeaderSummary.h"
#include "cli/BatchInputs.h"
#include "cli/Commands.h"
#include "cli/RollMeasures.h"
#include "cli/TerminalReporter.h"
#include "cli/VisibleText.h"
#include "images/ScanFile.h"

namespace tarvelo::cli {

namespace {

std::string Fixed(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

}  // namespace

int RunInfo(const InfoOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  const RunSettings settings = profile->Settings();
  TerminalReporter reporter(false);
  int status = kExitOk;
  bool first = true;
  nlohmann::json files = nlohmann::json::array();
  for (const BatchInput& input : CollectInputs(options.files, options.recursive, options.images)) {
    const std::string& path = input.Path;
    reporter.BeginFile(path);
    if (!input.Problem.empty()) {
      reporter.ShowMessage(MessageKind::kError, input.Problem);
      status = WorseExitStatus(status, kExitFileFailed);
      if (options.json) files.push_back({{"input", path}, {"error", input.Problem}});
      continue;
    }
    CisScanData data;
    CisOpenState state = CisOpenState::kNothingRead;
    const Result opened =
        OpenScanFile(path, ScanOpenOptionsFor(settings, RollTypeDefinition{}), data, reporter, &state);
    status = WorseExitStatus(status, ExitStatusForFile(opened));
    nlohmann::json file = {{"input", path}};
    if (!opened.ok()) file["error"] = opened.message();
    if (state == CisOpenState::kNothingRead || state == CisOpenState::kHeaderRefused) {
      if (options.json) files.push_back(std::move(file));
      if (options.json || state == CisOpenState::kNothingRead) continue;
      if (!first) std::printf("\n");
      first = false;
      std::printf("%s\n", VisibleText(path).c_str());
      continue;
    }
    const RollMeasures measures = MeasureRoll(data);
    if (options.json) {
      nlohmann::json header = nlohmann::json::object();
      for (const auto& [label, value] : HeaderSummaryEntries(SummarizeHeader(data.Header))) header[label] = value;
      file["header"] = std::move(header);
      file["scanner_type"] = data.Header.ScannerType;
      file["scanner_type_name"] = ScannerTypeName(data.Header.ScannerType);
      file["lines_read"] = data.Lines.Size();
      file["damaged_lines"] = data.Header.CorruptLineCount;
      file["roll_length_feet"] = measures.feet;
      file["play_minutes"] = measures.minutes;
      file["tempo"] = data.Header.Tempo;
      files.push_back(std::move(file));
      continue;
    }
    if (!first) std::printf("\n");
    first = false;
    std::printf("%s\n", VisibleText(path).c_str());
    for (const auto& [label, value] : HeaderSummaryEntries(SummarizeHeader(data.Header))) {
      const std::string shown =
          label == "Scanner Type" ? value + " (" + ScannerTypeName(data.Header.ScannerType) + ")" : value;
      std::printf("  %-18s %s\n", (label + ":").c_str(), VisibleText(shown).c_str());
    }
    std::printf("  %-18s %d\n", "Lines read:", data.Lines.Size());
    std::printf("  %-18s %d\n", "Damaged lines:", data.Header.CorruptLineCount);
    std::printf("  %-18s %s feet\n", "Roll length:", Fixed(measures.feet).c_str());
    std::printf("  %-18s %s minutes at tempo %d\n", "Playing time:", Fixed(measures.minutes).c_str(),
                data.Header.Tempo);
  }
  if (options.json) {
    const nlohmann::json document = {{"files", std::move(files)}};
    std::printf("%s\n", document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  }
  return status;
}

}  // namespace tarvelo::cli
