// What writing the expression MIDI file adds to a conversion: the same real scan converted with
// default settings as its reproducing roll type, once with the ScanImage and eRoll files only and
// once with the expression file as well, least processor time of several runs each, in the same
// process.
// Target: the expression file adds at most 15 % to a conversion of the largest real scan.
//
//   Expression_bench [FILE.cis ROLL_TYPE]...
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "rolltypes/RollTypeLibrary.h"

using namespace tarvelo;

int main(int argc, char** argv) {
  KeepFreedMemoryInProcess();  // as the programs do
  std::vector<std::pair<std::string, std::string>> rolls;
  for (int i = 1; i + 1 < argc; i += 2) rolls.emplace_back(argv[i], argv[i + 1]);
  if (rolls.empty()) {
    // The largest real scan first: it is the one the target is stated for.
    rolls = {{bench::RealCis("stepper_bicolor.CIS").string(), "Ampico B"},
             {bench::RealCis("stepper_single.CIS").string(), "Duo-Art"},
             {bench::RealCis("no_encoder_signal.CIS").string(), "Ampico A"}};
  }
  namespace fs = std::filesystem;
  const fs::path out =
      fs::temp_directory_path() / ("tarvelo-expression-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(out);
  bench::QuietFrontEnd ui;
  const std::vector<RollTypeDefinition> types = bench::ShippedRollTypes(ui);
  if (types.empty()) return 0;
  bool within = true;
  bool first = true;
  for (const auto& [path, type_name] : rolls) {
    if (!fs::exists(path)) {
      std::printf("skipped: %s not found\n", path.c_str());
      continue;
    }
    const RollTypeDefinition* type = nullptr;
    for (const RollTypeDefinition& candidate : types)
      if (candidate.Name == type_name) type = &candidate;
    if (type == nullptr) {
      std::printf("skipped: no roll type \"%s\" in the library\n", type_name.c_str());
      continue;
    }
    auto convert = [&](bool expression) {
      RunSettings settings = ui.settings;
      settings.Outputs.WriteExpressionMidi = expression;
      TarveloDoc doc(ui);
      doc.SetSpacingHistogramWanted(false);  // as tarvelo-cli, which never shows it
      doc.SetOutputFolder(out.string());
      doc.SetRollType(*type);
      doc.Load(path, settings).Ignore();
    };
    // Processor time, the two alternated so that both see the same state of the machine.
    double without_ms = 1e30, with_ms = 1e30;
    for (int round = 0; round < 15; ++round) {
      without_ms = std::min(without_ms, bench::BestCpuMs(1, [&] { convert(false); }));
      with_ms = std::min(with_ms, bench::BestCpuMs(1, [&] { convert(true); }));
    }
    const double added = with_ms / without_ms - 1;
    std::printf("%s as %s: conversion %.1f ms, with the expression file %.1f ms (+%.1f %%)\n",
                fs::path(path).filename().string().c_str(), type_name.c_str(), without_ms, with_ms, 100 * added);
    if (first) within = added <= 0.15;
    first = false;
  }
  fs::remove_all(out);
  std::printf("target (the expression file adds at most 15 %% to a conversion of the largest scan): %s\n",
              within ? "met" : "MISSED");
  return 0;
}
