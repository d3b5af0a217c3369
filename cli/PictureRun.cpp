#include "cli/PictureRun.h"

#include <algorithm>
#include <cstdio>

#include "align/PrepareScan.h"
#include "cli/RollTypeLibrarySetup.h"
#include "pictures/PictureFile.h"
#include "support/Console.h"

namespace tarvelo::cli {

int ConvertForPicture(const PictureOptions& options, bool wants_histogram, PictureRun& run) {
  run.profile = RunProfile::Open(options.profile);
  if (!run.profile) return kExitUsage;
  // The font first: a missing font should not cost a conversion.
  std::string font_path;
  Result font = FindLabelFont(font_path);
  if (font) font = run.font.Load(font_path);
  if (!font) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", font.message().c_str());
    return kExitFileFailed;
  }
  run.settings = run.profile->Settings();
  run.reporter = std::make_unique<TerminalReporter>(IsTerminal(stderr));
  TerminalReporter& reporter = *run.reporter;

  // "auto" aligns and recognises the roll type, as convert does; while the holes do not
  // decide, the profile's stays.
  const bool automatic = options.roll_type == "auto";
  const std::string roll_type =
      options.roll_type.empty() || automatic ? run.settings.Roll.ActiveRollTypeName : options.roll_type;
  XmlDocument library;
  std::vector<std::string> names;
  reporter.BeginFile(options.library.empty() ? "roll types" : options.library);
  if ((!options.library.empty() || roll_type != "Fail-Safe" || automatic) &&
      !LoadRollTypeLibrary(options.library, library, names, reporter) && !options.library.empty()) {
    std::fprintf(stderr, "tarvelo-cli: --roll-types %s cannot be used as the roll type library\n",
                 options.library.c_str());
    return kExitUsage;
  }
  if (!options.roll_type.empty() && !automatic && roll_type != "Fail-Safe" &&
      std::find(names.begin(), names.end(), roll_type) == names.end()) {
    std::fprintf(stderr, "tarvelo-cli: no roll type \"%s\" (see: tarvelo-cli roll-types)\n", roll_type.c_str());
    return kExitUsage;
  }

  reporter.BeginFile(options.file);
  run.doc = std::make_unique<TarveloDoc>(reporter, reporter, RollInfo(run.profile->Store()));
  run.doc->ApplyRollType(library, roll_type).Ignore();  // an unknown name is the document's message
  if (options.align || automatic || options.no_align) {
    AlignmentOptions alignment;
    alignment.Align = options.align || automatic;
    alignment.RecogniseRollType = automatic;
    alignment.KeepPreset = options.no_align;
    if (automatic) alignment.Library = FillRollTypes(library, names, reporter);
    run.doc->SetAlignment(std::move(alignment));
  }
  run.doc->SetScanImageMidiSkipped(true);
  run.doc->SetERollMidiSkipped(true);
  run.doc->SetSpacingHistogramWanted(wants_histogram);
  const Result loaded = run.doc->Load(options.file, run.settings);
  reporter.EndFile();
  return ExitStatusForFile(loaded);  // a failure has been reported as it happened
}

RollViewSettings ViewScannerSettings(const PictureRun& run) {
  RollViewSettings view;
  view.ScannerDPI = static_cast<int>(run.settings.Scanner.ScannerDPI);
  view.ScannerOffset = run.settings.Scanner.ScannerOffset;
  view.ScannerAlignStretch = run.settings.Scanner.ScannerAlignStretch;
  const TrackFit& fit = run.doc->Alignment().Suggestion.Fit;
  if (fit.Found) {
    view.ScannerDPI = fit.Setting.Dpi;
    view.ScannerOffset = fit.Setting.Offset;
    view.ScannerAlignStretch = fit.Setting.Stretch;
  }
  view.ShowCrossoverLine = run.settings.TwinArray.ShowCrossoverLine;
  return view;
}

int WritePicture(const PictureOptions& options, const Picture& picture, const LabelFont& font) {
  const Result written = WritePictureFile(options.output, picture, font);
  if (written) return kExitOk;
  std::fprintf(stderr, "tarvelo-cli: %s\n", written.message().c_str());
  return kExitFileFailed;
}

}  // namespace tarvelo::cli
