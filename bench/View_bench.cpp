// Drawing the roll view of the largest real scan after a conversion: a 1000 x 600 client area
// at every zoom level, scrolled to the start, the middle and the end of the canvas, with the
// tracking corrections shown. Target: every drawing takes at most 8 ms (the desktop redraws
// the whole client area on each scroll step).
//
//   View_bench [FILE.cis]
#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "view/RollView.h"
#include "view/ZoomLevel.h"

using namespace tarvelo;

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : bench::RealCis("stepper_bicolor.CIS").string();
  if (!std::filesystem::exists(path)) {
    std::printf("skipped: %s not found\n", path.c_str());
    return 0;
  }
  testing::RecordingFrontEnd ui;
  ui.record_status = false;
  TarveloDoc doc(ui, ui);
  doc.SetScanImageMidiSkipped(true);
  doc.SetERollMidiSkipped(true);
  if (!doc.Load(path, ui.settings).ok()) {
    std::printf("cannot convert %s\n", path.c_str());
    return 1;
  }
  TrackStrips strips = InitialTrackStrips(doc.RollType().StripWidthPixels);
  RenderTrackStrips(doc.RollType(), strips);
  const CisScanData& scan = doc.ScanData();

  RollViewSettings settings;
  settings.ScannerDPI = static_cast<int>(ui.settings.Scanner.ScannerDPI);
  settings.ScannerOffset = ui.settings.Scanner.ScannerOffset;
  settings.ScannerAlignStretch = ui.settings.Scanner.ScannerAlignStretch;
  settings.ShowTrackingCorrections = true;
  settings.ClientWidth = 1000;
  settings.ClientHeight = 600;
  std::printf("roll view   %s: %d lines, %zu transitions, client area %d x %d\n", path.c_str(), scan.Lines.Size(),
              scan.Lines.TotalTransitions(), settings.ClientWidth, settings.ClientHeight);
  std::printf("  level  factor    start ms   middle ms   end ms    dots drawn at start\n");
  const int scroll_rows[] = {0, MaxScrollRow(settings.ClientHeight) / 2, MaxScrollRow(settings.ClientHeight)};
  double worst_ms = 0;
  Picture picture;
  for (int level = ZoomLevel::kSmallest; level <= ZoomLevel::kLargest; ++level) {
    settings.ZoomFactor = ZoomLevel::FactorOf(level);
    double ms[3];
    for (int k = 0; k < 3; ++k) {
      settings.ScrollY = scroll_rows[k];
      ms[k] = bench::BestMs(20, [&] { DrawRollView(scan, strips, settings, picture); });
      worst_ms = std::max(worst_ms, ms[k]);
    }
    settings.ScrollY = 0;
    DrawRollView(scan, strips, settings, picture);
    long dots = 0;
    for (size_t at = 0; at < picture.Image.pixels.size(); at += 3)
      dots += picture.Image.pixels[at] == 8 && picture.Image.pixels[at + 1] == 0 && picture.Image.pixels[at + 2] == 0;
    std::printf("  %5d  %6.4g  %9.3f  %10.3f  %7.3f   %ld\n", level, settings.ZoomFactor, ms[0], ms[1], ms[2], dots);
  }
  const bool ok = worst_ms <= 8.0 && ui.messages.empty();
  std::printf("  slowest drawing %.3f ms (target <= 8)\n", worst_ms);
  if (!ui.messages.empty()) std::printf("unexpected messages: %zu\n", ui.messages.size());
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
