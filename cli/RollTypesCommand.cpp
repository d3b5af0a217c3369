// tarvelo-cli roll-types [--roll-types FILE] [NAME...]: the names of the roll type library,
// or the settings and tracks of the named roll types.
#include <algorithm>
#include <cstdio>

#include "cli/Commands.h"
#include "cli/RollTypeLibrarySetup.h"
#include "cli/TerminalReporter.h"
#include "cli/VisibleText.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/DescribeRollType.h"

namespace tarvelo::cli {

int RunRollTypes(const RollTypesOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  TerminalReporter ui(false);
  ui.BeginFile("roll types");
  XmlDocument library;
  std::vector<std::string> names;
  const bool loaded = LoadRollTypeLibrary(options.library, library, names, ui);
  if (!loaded && !options.library.empty()) {
    std::fprintf(stderr, "tarvelo-cli: --roll-types %s cannot be used as the roll type library\n",
                 options.library.c_str());
    return kExitUsage;
  }
  if (options.names.empty()) {
    for (const std::string& name : names) std::printf("%s\n", VisibleText(name).c_str());
    return loaded ? kExitOk : kExitFileFailed;
  }
  int status = loaded ? kExitOk : kExitFileFailed;
  for (const std::string& name : options.names) {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      std::fprintf(stderr, "tarvelo-cli: no roll type \"%s\" (see: tarvelo-cli roll-types)\n",
                   VisibleText(name).c_str());
      status = kExitUsage;
      continue;
    }
    RollTypeDefinition record;
    ApplyActiveRollType(record, name, library, ui).Ignore();  // the name is one of the library's
    std::printf("%s", VisibleText(DescribeRollType(record)).c_str());
  }
  return status;
}

}  // namespace tarvelo::cli
