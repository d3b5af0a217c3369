#include "cli/PictureRun.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "cli/RollTypeLibrarySetup.h"
#include "pictures/PictureFile.h"

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
  run.settings = std::make_unique<SessionSettings>(run.profile->Store());
  run.ui = std::make_unique<TerminalUi>(*run.settings, ::isatty(STDERR_FILENO) == 1);
  run.ui->SetWantsSpacingHistogram(wants_histogram);

  const std::string roll_type = options.roll_type.empty() ? run.settings->roll.ActiveRollTypeName : options.roll_type;
  XmlDocument library;
  std::vector<std::string> names;
  run.ui->BeginFile(options.library.empty() ? "roll types" : options.library);
  if (!options.library.empty() || roll_type != "Fail-Safe")
    LoadRollTypeLibrary(options.library, library, names, *run.ui);
  if (!options.roll_type.empty() && roll_type != "Fail-Safe" &&
      std::find(names.begin(), names.end(), roll_type) == names.end()) {
    std::fprintf(stderr, "tarvelo-cli: no roll type \"%s\" (see: tarvelo-cli roll-types)\n", roll_type.c_str());
    return kExitUsage;
  }

  run.ui->BeginFile(options.file);
  run.doc = std::make_unique<TarveloDoc>(*run.ui);
  run.doc->ApplyRollType(library, roll_type);
  run.doc->SetScanImageMidiSkipped(true);
  run.doc->SetERollMidiSkipped(true);
  const LoadStatus loaded = run.doc->Load(options.file);
  run.ui->EndFile();
  if (loaded == LoadStatus::kUnreadable)
    std::fprintf(stderr, "%s: %s\n", options.file.c_str(), run.doc->LastErrorText().c_str());
  return loaded == LoadStatus::kLoaded ? kExitOk : kExitFileFailed;  // other failures were shown
}

int WritePicture(const PictureOptions& options, const Picture& picture, const LabelFont& font) {
  const Result written = WritePictureFile(options.output, picture, font);
  if (written) return kExitOk;
  std::fprintf(stderr, "tarvelo-cli: %s\n", written.message().c_str());
  return kExitFileFailed;
}

}  // namespace tarvelo::cli
