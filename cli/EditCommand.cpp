// tarvelo-cli edit FILE.cis [--title T] [--tempo X] [--lpi N] [-o OUT.cis]: corrects the
// header of a CIS file, with the checks of the embedded-data dialog; without -o the file is
// replaced once the new one is complete.
#include <cstdio>

#include "cis/CisHeaderEdit.h"
#include "cli/Commands.h"
#include "cli/TerminalUi.h"

namespace tarvelo::cli {

int RunEdit(const EditOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  SessionSettings settings(profile->Store());
  TerminalUi ui(settings, false);
  ui.BeginFile(options.file);
  const SettingsProblems problems = CheckCisHeaderEdit(options.edit);
  if (!problems.empty()) {
    for (const std::string& problem : problems) std::fprintf(stderr, "tarvelo-cli: %s\n", problem.c_str());
    return kExitUsage;
  }
  const CisEditResult result = EditCisHeader(options.file, options.edit, options.output, ui);
  for (const std::string& note : result.Notes) std::fprintf(stderr, "%s: %s\n", options.file.c_str(), note.c_str());
  if (!result.Written) {
    for (const std::string& problem : result.Problems)
      std::fprintf(stderr, "%s: %s\n", options.file.c_str(), problem.c_str());
    return kExitFileFailed;
  }
  return kExitOk;
}

}  // namespace tarvelo::cli
