// tarvelo-cli render ROLL.cis -o ROLL.png: the roll view as the desktop shows it after the
// conversion, as wide as what it draws, scrolled so that a chosen inch of the roll is at the top.
#include <cstdio>

#include "cli/PictureRun.h"
#include "view/RollView.h"
#include "view/ZoomLevel.h"

namespace tarvelo::cli {

int RunRender(const RenderOptions& options) {
  PictureRun run;
  if (const int status = ConvertForPicture(options.picture, false, run); status != kExitOk) return status;
  const CisScanData& scan = run.doc->ScanData();
  const int line_count = scan.Lines.Size();
  const int first_line = FirstLineAtInch(scan.Lines, options.from_inch);
  if (line_count > 0 && first_line >= line_count) {
    std::fprintf(stderr, "tarvelo-cli: --from %g: the roll ends at %g inches\n", options.from_inch,
                 scan.Lines.Position(line_count - 1));
    return kExitUsage;
  }
  TrackStrips strips = InitialTrackStrips(run.doc->RollType().StripWidthPixels);
  RenderTrackStrips(run.doc->RollType(), strips);

  RollViewSettings view = ViewScannerSettings(run);
  view.ZoomFactor = ZoomLevel(options.zoom_level).Factor();
  view.ShowTrackingCorrections = options.tracking;
  view.ClientWidth = DrawnCanvasWidth(scan, strips, view);
  view.ClientHeight = options.height;
  view.ScrollY = ScrollRowForLine(line_count, options.height, first_line);
  Picture picture;
  DrawRollView(scan, strips, view, picture);
  return WritePicture(options.picture, picture, run.font);
}

}  // namespace tarvelo::cli
