// tarvelo-cli render ROLL.cis -o ROLL.png: the roll view as the desktop shows it after the
// conversion, as wide as what it draws, scrolled so that a chosen inch of the roll is at the top;
// with --overview the whole roll in one picture.
#include <cstdio>

#include "cli/PictureRun.h"
#include "view/RollOverview.h"
#include "view/RollView.h"
#include "view/ZoomLevel.h"

namespace tarvelo::cli {

int RunRender(const RenderOptions& options) {
  // The view shows a part of its 5000-row canvas at a time; known before the conversion.
  const int height = options.height > 0 ? options.height : 600;
  if (!options.overview && height > kRollCanvasHeight) {
    std::fprintf(stderr, "tarvelo-cli: --height %d: the roll view is at most %d rows high (--overview draws more)\n",
                 height, kRollCanvasHeight);
    return kExitUsage;
  }
  PictureRun run;
  if (const int status = ConvertForPicture(options.picture, false, run); status != kExitOk) return status;
  const CisScanData& scan = run.doc->ScanData();
  if (options.overview) {
    OverviewSize size;
    size.Width = options.width;
    size.MostHeight = options.height > 0 ? options.height : 2000;
    Picture picture;
    DrawRollOverview(ScannedLength(scan), run.doc->Holes(), run.doc->RollType(), size, picture);
    return WritePicture(options.picture, picture, run.font);
  }
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
  view.ClientHeight = height;
  view.ScrollY = ScrollRowForLine(line_count, height, first_line);
  Picture picture;
  DrawRollView(scan, strips, view, picture);
  return WritePicture(options.picture, picture, run.font);
}

}  // namespace tarvelo::cli
