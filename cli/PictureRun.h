#pragma once
// What the picture commands (render, histogram) share: the run's settings, the font for the
// picture's texts, the roll type and one conversion of the file without MIDI outputs.

#include <memory>

#include "cli/Commands.h"
#include "cli/TerminalReporter.h"
#include "document/TarveloDoc.h"
#include "pictures/LabelFont.h"
#include "support/Picture.h"
#include "view/RollView.h"

namespace tarvelo::cli {

struct PictureRun {
  std::unique_ptr<RunProfile> profile;
  RunSettings settings;
  std::unique_ptr<TerminalReporter> reporter;
  std::unique_ptr<TarveloDoc> doc;
  LabelFont font;
};

// Prepares `run` and converts options.file. Returns kExitOk, or the exit status after the
// reason was printed.
int ConvertForPicture(const PictureOptions& options, bool wants_histogram, PictureRun& run);

// The view's scanner values: those the conversion placed the pixels with (the alignment's when
// the run was aligned and found one, else the preset's), and the crossover line setting.
RollViewSettings ViewScannerSettings(const PictureRun& run);

// Writes `picture` to options.output; kExitFileFailed (the reason printed) when it cannot.
int WritePicture(const PictureOptions& options, const Picture& picture, const LabelFont& font);

}  // namespace tarvelo::cli
