// Aligning the largest real scan with roll type recognition, as `align --roll-type auto` does
// it (load the roll type library and fill every roll type, read and prepare the scan, measure,
// fit and rank),
// against the whole conversion of the same file (reading, every stage, both MIDI files), timed
// in the same run. Target: the alignment takes at most 2 times the conversion.
//
//   Align_bench [FILE.cis [RollTypeDefinitions.xml]]
#include <cstdio>
#include <filesystem>
#include <random>

#include "BenchSupport.h"
#include "align/AlignScan.h"
#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "rolltypes/RollTypeLibrary.h"

using namespace tarvelo;

int main(int argc, char** argv) {
  KeepFreedMemoryInProcess();  // as the programs do
  const std::string path = argc > 1 ? argv[1] : bench::RealCis("stepper_bicolor.CIS").string();
  const std::string library_path =
      argc > 2 ? argv[2] : std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml";
  if (!std::filesystem::exists(path)) {
    std::printf("skipped: %s not found\n", path.c_str());
    return 0;
  }
  namespace fs = std::filesystem;
  const fs::path out = fs::temp_directory_path() / ("tarvelo-align-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(out);

  bench::QuietFrontEnd front_end;
  const RunSettings& settings = front_end.settings;
  std::vector<RollTypeDefinition> types;

  auto convert = [&] {
    TarveloDoc doc(front_end);
    doc.SetSpacingHistogramWanted(false);  // as tarvelo-cli, which never shows it
    doc.SetOutputFolder(out.string());
    doc.Load(path, settings).Ignore();
  };
  AlignmentReport report;
  const RollTypeDefinition fail_safe;
  auto align = [&] {
    XmlDocument library;
    std::vector<std::string> names;
    if (!LoadRollTypeDefinitions({library_path}, library, names)) return;
    types = FillRollTypes(library, names, front_end);
    PreparedScan scan;
    if (!PrepareScan(path, settings, front_end, scan)) return;
    AlignRequest request;
    request.Scan = AlignmentView(scan.Data, settings.Scanner.ScanLightingMethod);
    request.InForce = scan.Preset;
    request.RollType = &fail_safe;
    for (const RollTypeDefinition& type : types) request.Library.push_back(&type);
    request.Recognise = true;
    report = AlignScan(request);
  };
  double convert_ms = 1e30, align_ms = 1e30;
  for (int round = 0; round < 5; ++round) {
    convert_ms = std::min(convert_ms, bench::BestMs(1, convert));
    align_ms = std::min(align_ms, bench::BestMs(1, align));
  }
  std::error_code ec;
  fs::remove_all(out, ec);

  const RollTypeFit& suggestion = report.Suggestion;
  std::printf("file            %s (%zu holes measured)\n", path.c_str(), report.Measurement.Holes.size());
  std::printf("suggestion      %s, DPI %d, offset %.4f, stretch %.4f, %.2f %% on track (%.2f %% before)\n",
              report.Ranking.Decided ? report.Ranking.Recognised.c_str() : "(undecided)", suggestion.Fit.Setting.Dpi,
              suggestion.Fit.Setting.Offset, suggestion.Fit.Setting.Stretch, 100 * suggestion.Fit.Count.Share(),
              100 * suggestion.Before.Share());
  std::printf("conversion      %8.2f ms\n", convert_ms);
  const double ratio = align_ms / convert_ms;
  std::printf("align (auto)    %8.2f ms   %.2f x conversion (target <= 2)\n", align_ms, ratio);
  const bool ok = ratio <= 2.0 && suggestion.Fit.Found;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
