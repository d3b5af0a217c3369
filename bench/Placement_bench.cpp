// The placement check every conversion makes (the measurement of the scan and the fit of the
// roll type's tracks; on the command line, converted as the built-in type, also the ranking of
// the library's roll types) against the whole conversion it is part of, timed in the same run
// on the largest real scans. Target: the check costs at most 15 % of a conversion.
//
//   Placement_bench [FILE.cis...]
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "align/MeasureScan.h"
#include "align/PlacementVerdict.h"
#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "rolltypes/RollTypeLibrary.h"

using namespace tarvelo;

int main(int argc, char** argv) {
  KeepFreedMemoryInProcess();  // as the programs do
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) paths.emplace_back(argv[i]);
  if (paths.empty()) {
    for (const char* name : {"stepper_bicolor.CIS", "no_encoder_signal.CIS", "stepper_twin.CIS"})
      paths.push_back(bench::RealCis(name).string());
  }
  namespace fs = std::filesystem;
  const fs::path out =
      fs::temp_directory_path() / ("tarvelo-placement-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(out);
  bench::QuietFrontEnd ui;
  RunSettings settings = ui.settings;
  settings.Scanner.AutoTweakSettings = false;  // one pass of every stage, as the literal conversion
  const std::vector<RollTypeDefinition> types = bench::ShippedRollTypes(ui);
  if (types.empty()) return 0;
  const RollTypeDefinition fail_safe;
  bool within = true;
  for (const std::string& path : paths) {
    if (!fs::exists(path)) {
      std::printf("skipped: %s not found\n", path.c_str());
      continue;
    }
    AlignmentOptions ranked;
    ranked.Library = types;
    ranked.NameRecognised = true;
    auto convert = [&](const AlignmentOptions& options) {
      TarveloDoc doc(ui);
      doc.SetSpacingHistogramWanted(false);  // as tarvelo-cli, which never shows it
      doc.SetOutputFolder(out.string());
      doc.SetAlignment(options);
      doc.Load(path, settings).Ignore();
    };
    PreparedScan scan;
    if (!PrepareScan(path, settings, ui, scan)) continue;
    auto check = [&](bool rank) {
      AlignRequest request;
      request.Scan = AlignmentView(scan.Data, settings.Scanner.ScanLightingMethod);
      request.InForce = scan.Preset;
      request.RollType = &fail_safe;
      if (rank) {
        for (const RollTypeDefinition& type : types) request.Library.push_back(&type);
        request.Recognise = true;
        request.SuggestRecognised = false;
      }
      const AlignmentReport report = AlignScan(request);
      (void)JudgePlacement(report, settings.Scanner.ActiveTracking);
    };
    double measure_ms = 1e30;
    for (int round = 0; round < 3; ++round) {
      measure_ms = std::min(measure_ms, bench::BestMs(1, [&] {
                              (void)MeasureScan(AlignmentView(scan.Data, settings.Scanner.ScanLightingMethod));
                            }));
    }
    std::printf("  measuring the scan alone: %.1f ms\n", measure_ms);
    double convert_ms = 1e30, ranked_ms = 1e30, check_ms = 1e30, rank_ms = 1e30;
    for (int round = 0; round < 3; ++round) {
      convert_ms = std::min(convert_ms, bench::BestMs(1, [&] { convert(AlignmentOptions{}); }));
      ranked_ms = std::min(ranked_ms, bench::BestMs(1, [&] { convert(ranked); }));
      check_ms = std::min(check_ms, bench::BestMs(1, [&] { check(false); }));
      rank_ms = std::min(rank_ms, bench::BestMs(1, [&] { check(true); }));
    }
    const double share = check_ms / convert_ms;
    const double ranked_share = rank_ms / ranked_ms;
    std::printf(
        "%s: conversion %.1f ms, of it the placement check %.1f ms (%.1f %%); command line as the built-in "
        "type (with the ranking of %zu roll types) %.1f ms, of it %.1f ms (%.1f %%)\n",
        fs::path(path).filename().string().c_str(), convert_ms, check_ms, 100 * share, types.size(), ranked_ms, rank_ms,
        100 * ranked_share);
    within = within && share <= 0.15;
  }
  fs::remove_all(out);
  std::printf("target (the check at most 15 %% of a conversion): %s\n", within ? "met" : "MISSED");
  return 0;
}
