// Feeds arbitrary CIS bytes, with scanner and twin-array settings taken from the first eight
// bytes, through line positions, the twin-array merge, mirroring, the per-line pass and (when
// the first byte asks) the diagnostic texts, and checks what every run must hold.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cis/CisReader.h"
#include "events/PunchedHole.h"
#include "geometry/ActiveTracking.h"
#include "geometry/DiagnosticFiles.h"
#include "geometry/ScanLinePositions.h"
#include "geometry/TrackLookupMap.h"
#include "geometry/TwinArrayMerge.h"
#include "helpers/RecordingFrontEnd.h"
#include "keywords/KeywordList.h"

namespace {

constexpr size_t kSettingsBytes = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarvelo;
  if (size < kSettingsBytes) return 0;
  // Built once: reading the default profile is not what is being fuzzed, and a run must be
  // quick enough for hundreds of 64 KB scans a second.
  static testing::RecordingFrontEnd ui;
  static const RunSettings defaults = ui.settings;
  ui.record_status = false;
  ui.messages.clear();
  ui.kinds.clear();
  RunSettings settings = defaults;
  ScannerSettings& live = settings.Scanner;
  const uint8_t flags = data[0];
  settings.TwinArray.OverrideCISvalues = (flags & 1) != 0;
  live.ActiveTracking = (flags & 2) != 0;
  live.ScanLightingMethod = data[1] % 3;
  live.TwinArrayOverlap = static_cast<int8_t>(data[2]) / 64.0;
  live.TwinArrayVertOffset = static_cast<int8_t>(data[3]) / 64.0;
  live.ScannerDPI = data[4];                  // 0 is replaced with a message
  live.ScannerAlignStretch = data[5] / 64.0;  // 0 likewise
  live.ScannerOffset = static_cast<int8_t>(data[6]) / 16.0;
  settings.Tracking.RollEdgeCaptureDistance = data[7] / 100.0;

  CisScanData scan;
  if (!ReadCisFile({data + kSettingsBytes, size - kSettingsBytes}, live.ForceOldCisFormat, scan, ui).ok()) return 0;
  ComputeScanLinePositions(scan, live, settings.Diagnostic, ui);
  if ((flags & 4) != 0 || scan.Run.TwinArray) {
    MergeTwinArrays(scan, settings.TwinArray, live, ui);
    // Merged lines of ascending lines ascend and stay within the merged width.
    for (int i = 0; i < scan.Lines.Size(); ++i) {
      const auto t = scan.Lines.Transitions(i);
      for (size_t k = 0; k < t.size(); ++k) {
        if (t[k] < 1 || t[k] > scan.Run.ScanWidth) std::abort();
        if (k > 0 && t[k] <= t[k - 1]) std::abort();
      }
    }
  }
  if ((flags & 8) != 0) ReverseScanLines(scan);

  const RollTypeDefinition roll;
  TrackLookupMap map;
  HoleList holes;
  KeywordList keywords;
  ProcessScanLines(scan, roll, live, settings.Tracking, false, map, holes, keywords, ui);
  for (const PunchedHole& hole : holes)
    if (hole.Track < 0 || hole.Track > 255) std::abort();
  for (int i = 0; i < scan.Lines.Size(); ++i)
    if (!std::isfinite(scan.Lines.TrackingOffset(i))) std::abort();
  if (map.ClosestTrackAt(scan.Run.CrossoverPixel) < 0) std::abort();
  // The diagnostic texts cost more than the whole pass (a line of text per transition and per
  // pixel): they are written when the input asks for them.
  if ((flags & 0x10) != 0 && scan.Lines.Size() < 2000) CisDiagnosticText(scan, static_cast<int>(map.Dpi));
  if ((flags & 0x20) != 0 && scan.Run.ScanWidth < 20000) LookupMapDiagnosticText(map);
  return 0;
}
