#pragma once
// Loading the roll type library for a command: the file named by --roll-types, or the
// library the program looks for itself (working folder, then the installed copy).

#include <string>
#include <vector>

#include "xml/XmlDocument.h"
#include "services/UiServices.h"

namespace tarvelo::cli {

// Fills `library` and `names` ("Fail-Safe" first). Problems are shown through `ui`.
// Returns false when the library could not be loaded (the names are then "Fail-Safe" only).
bool LoadRollTypeLibrary(const std::string& file_option, XmlDocument& library, std::vector<std::string>& names,
                         UiServices& ui);

}  // namespace tarvelo::cli
