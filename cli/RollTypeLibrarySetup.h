#pragma once
// Loading the roll type library for a command: the file named by --roll-types, or the
// library the program looks for itself (working folder, then the installed copy).

#include <string>
#include <vector>

#include "services/Reporter.h"
#include "xml/XmlDocument.h"

namespace tarvelo::cli {

// Fills `library` and `names` ("Fail-Safe" first). Problems are reported through `reporter`.
// Returns false when the library could not be loaded (the names are then "Fail-Safe" only).
bool LoadRollTypeLibrary(const std::string& file_option, XmlDocument& library, std::vector<std::string>& names,
                         Reporter& reporter);

}  // namespace tarvelo::cli
