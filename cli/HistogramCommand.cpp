// tarvelo-cli histogram ROLL.cis -o hist.png: the spacing histogram window after the conversion.
#include "cli/PictureRun.h"
#include "view/SpacingHistogramPicture.h"

namespace tarvelo::cli {

int RunHistogram(const PictureOptions& options) {
  PictureRun run;
  if (const int status = ConvertForPicture(options, true, run); status != kExitOk) return status;
  const Picture picture =
      DrawSpacingHistogramWindow(run.doc->Summary().SpacingHistogram, run.settings.Diagnostic, run.doc->FileName());
  return WritePicture(options, picture, run.font);
}

}  // namespace tarvelo::cli
