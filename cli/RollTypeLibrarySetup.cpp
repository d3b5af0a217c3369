#include "cli/RollTypeLibrarySetup.h"

#include "rolltypes/RollTypeLibrary.h"

namespace tarvelo::cli {

bool LoadRollTypeLibrary(const std::string& file_option, XmlDocument& library, std::vector<std::string>& names,
                         Reporter& reporter) {
  const std::vector<std::string> candidates = file_option.empty()
                                                  ? RollTypeDefinitionsCandidates(WorkingFolder(), ExecutablePath())
                                                  : std::vector<std::string>{file_option};
  const Result loaded = LoadRollTypeDefinitions(candidates, library, names);
  if (!loaded.ok()) reporter.ShowMessage(MessageKind::kError, loaded.message());
  return loaded.ok();
}

}  // namespace tarvelo::cli
