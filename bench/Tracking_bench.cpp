// The per-line pass over the largest real scan (lookup map built and holes assigned, with
// tracking on) and the twin-array merge of the real twin-array scan, each against the floor
// program on the same file, timed in the same run.
// Targets: the per-line pass takes at most 2 times the floor's time, the merge at most 1.5.
// The off-track count after the pass is timed beside it, without a target: it is what folding
// the count into the pass could save at most.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "align/OffTrackCheck.h"
#include "cis/CisReader.h"
#include "events/PunchedHole.h"
#include "geometry/ActiveTracking.h"
#include "geometry/ScanLinePositions.h"
#include "geometry/TrackLookupMap.h"
#include "geometry/TwinArrayMerge.h"
#include "keywords/KeywordList.h"

using namespace tarvelo;

namespace {

// Reads a file and places its lines, as the pipeline has done before these stages run.
bool Prepare(const std::string& path, CisScanData& data, bench::QuietFrontEnd& ui) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes).ok()) return false;
  data.Header.Names.Name = "bench";
  data.Header.Names.Extension = "cis";
  if (!ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, false, data, ui).ok()) return false;
  ComputeScanLinePositions(data, ui.settings.Scanner, ui.settings.Diagnostic, ui);
  data.KeepAsRead();
  return data.Lines.Size() > 0;
}

struct Timings {
  double floor_ms = 1e30;
  double stage_ms = 1e30;
};

template <typename Stage>
Timings Compare(const std::string& path, Stage&& stage) {
  std::vector<int32_t> sums;
  Timings result;
  // Interleaved so that both see the same machine state.
  for (int round = 0; round < 5; ++round) {
    result.floor_ms = std::min(result.floor_ms, bench::BestMs(3, [&] { bench::FloorRead(path, sums); }));
    result.stage_ms = std::min(result.stage_ms, bench::BestMs(3, stage));
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string largest = argc > 1 ? argv[1] : bench::RealCis("stepper_bicolor.CIS").string();
  const std::string twin = argc > 2 ? argv[2] : bench::RealCis("stepper_twin.CIS").string();
  if (!std::filesystem::exists(largest) || !std::filesystem::exists(twin)) {
    std::printf("skipped: real scans not found\n");
    return 0;
  }
  bench::QuietFrontEnd ui;
  const RunSettings& settings = ui.settings;
  bool ok = true;

  {
    CisScanData data;
    if (!Prepare(largest, data, ui)) return 1;
    const RollTypeDefinition roll;
    TrackLookupMap map;
    HoleList holes;
    KeywordList keywords;
    const Timings r = Compare(largest, [&] {
      ProcessScanLines(data, roll, settings.Scanner, settings.Tracking, false, map, holes, keywords, ui);
    });
    const double ratio = r.stage_ms / r.floor_ms;
    std::printf("per-line pass   %s: %d lines, %d holes\n", largest.c_str(), data.Lines.Size(),
                static_cast<int>(holes.size()));
    std::printf("  floor         %8.2f ms\n", r.floor_ms);
    std::printf("  pass          %8.2f ms   %.2f x floor (target <= 2)\n", r.stage_ms, ratio);
    ok &= ratio <= 2.0;

    OffTrackCount count;
    double count_ms = 1e30;
    for (int round = 0; round < 5; ++round)
      count_ms = std::min(count_ms, bench::BestMs(3, [&] { count = CountOffTrackHoles(data, map, roll); }));
    std::printf("  off-track     %8.2f ms   %.2f x floor (%d holes counted, no target)\n", count_ms,
                count_ms / r.floor_ms, count.Holes);
  }
  {
    CisScanData data;
    if (!Prepare(twin, data, ui)) return 1;
    // Each merge starts from the lines as read; restoring them is the pipeline's work, not the merge's.
    double merge_ms = 1e30, floor_ms = 1e30;
    std::vector<int32_t> sums;
    for (int round = 0; round < 5; ++round) {
      floor_ms = std::min(floor_ms, bench::BestMs(3, [&] { bench::FloorRead(twin, sums); }));
      for (int run = 0; run < 3; ++run) {
        data.Lines = data.LinesAsRead;
        data.StartRun(false);
        merge_ms = std::min(merge_ms,
                            bench::BestMs(1, [&] { MergeTwinArrays(data, settings.TwinArray, settings.Scanner, ui); }));
      }
    }
    const double ratio = merge_ms / floor_ms;
    std::printf("twin merge      %s: %d lines, width %d\n", twin.c_str(), data.Lines.Size(), data.Run.ScanWidth);
    std::printf("  floor         %8.2f ms\n", floor_ms);
    std::printf("  merge         %8.2f ms   %.2f x floor (target <= 1.5)\n", merge_ms, ratio);
    ok &= ratio <= 1.5;
  }
  if (!ui.messages.empty()) {
    std::printf("unexpected messages: %zu\n", ui.messages.size());
    ok = false;
  }
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
