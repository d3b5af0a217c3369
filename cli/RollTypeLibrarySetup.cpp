#include "cli/RollTypeLibrarySetup.h"

#include "rolltypes/RollTypeLibrary.h"

namespace tarvelo::cli {

bool LoadRollTypeLibrary(const std::string& file_option, XmlDocument& library, std::vector<std::string>& names,
                         Reporter& reporter) {
  const std::vector<std::string> candidates = file_option.empty()
                                                  ? RollTypeDefinitionsCandidates(WorkingFolder(), ExecutablePath())
                                                  : std::vector<std::string>{file_option};
  return LoadRollTypeDefinitions(candidates, library, names, reporter);
}

}  // namespace tarvelo::cli
