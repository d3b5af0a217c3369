#include "support/ProgramVersion.h"

#include "BuildId.h"

#ifndef TARVELO_VERSION
#define TARVELO_VERSION "unknown"
#endif

namespace tarvelo {

std::string ProgramVersion() { return TARVELO_VERSION; }

std::string ProgramBuild() { return TARVELO_BUILD_ID; }

std::string ProgramVersionLine() {
  const std::string build = ProgramBuild();
  return "Tarvelo " + ProgramVersion() + (build.empty() ? "" : " (build " + build + ")");
}

}  // namespace tarvelo
