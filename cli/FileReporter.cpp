#include "cli/FileReporter.h"

#include "cis/RollInfo.h"
#include "cli/StopSignals.h"

namespace tarvelo::cli {

bool FileReporter::IsCancelled() const { return StopSignal() != 0; }

bool FileReporter::EditRollInfo(RollInfo& info) {
  for (const auto& [name, value] : entries_) info.SetEntry(name, value);
  return true;
}

}  // namespace tarvelo::cli
