// tarvelo-cli convert FILE.cis...: opens each file and runs the whole conversion.
#include <unistd.h>

#include <cstdio>

#include "cli/Commands.h"
#include "cli/TerminalUi.h"
#include "document/TarveloDoc.h"

namespace tarvelo::cli {

int RunConvert(const ConvertOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  SessionSettings settings(profile->Store());
  TerminalUi ui(settings, !options.quiet && ::isatty(STDERR_FILENO) == 1);
  int status = kExitOk;
  for (const std::string& path : options.files) {
    ui.BeginFile(path);
    CTarveloDoc doc(ui);
    const LoadStatus loaded = doc.Load(path);
    ui.EndFile();
    switch (loaded) {
      case LoadStatus::kLoaded:
        break;
      case LoadStatus::kWrongType:
      case LoadStatus::kRefused:
        status = kExitFileFailed;  // the message has been shown
        break;
      case LoadStatus::kUnreadable:
        std::fprintf(stderr, "%s: %s\n", path.c_str(), doc.LastErrorText().c_str());
        status = kExitFileFailed;
        break;
    }
  }
  return status;
}

}  // namespace tarvelo::cli
