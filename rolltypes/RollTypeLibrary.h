#pragma once
// The roll type library file RollTypeDefinitions.xml: where it is looked for, and loading it
// into the parsed document the front end keeps for the whole session, together with the
// list of roll type names for the roll type selector.

#include <string>
#include <vector>

#include "support/Result.h"
#include "xml/XmlDocument.h"

namespace tarvelo {

// The built-in roll type, always entry 0 of the name list; it needs no file.
inline constexpr const char* kFailSafeRollTypeName = "Fail-Safe";
inline constexpr const char* kRollTypeDefinitionsFileName = "RollTypeDefinitions.xml";

// The process's working folder (empty when it cannot be determined).
std::string WorkingFolder();
// The running program's own file (empty when it cannot be determined).
std::string ExecutablePath();

// Where the library is looked for, in order: `working_folder` + separator + file name first,
// then the copy installed with the program: beside `executable_path`, in <exe folder>/../
// share/tarvelo, and in the installation's data folder. Empty inputs are skipped; no path
// appears twice.
std::vector<std::string> RollTypeDefinitionsCandidates(const std::string& working_folder,
                                                       const std::string& executable_path);

// The largest library file that is read (the shipped one is under 100 KB): a larger file is
// refused before it is read, so that a hostile file cannot take the memory.
inline constexpr size_t kMaxRollTypeFileBytes = 16 * 1024 * 1024;

// Loads the first of `candidates` that can be read into `document`, and sets `names` to
// "Fail-Safe" followed by the Name attribute of every RollType in file order (an element
// without the attribute gives an empty entry). A file that starts with the byte-order mark
// FF FE is UTF-16 little-endian and is converted to UTF-8; other files are taken as they are.
// A problem is returned, not reported (the caller reports it once, as an error), and leaves
// the names at "Fail-Safe" only and the document empty; its message is:
//   no candidate opens          "Unable to open XML config file " + the first candidate (kNotFound)
//   the first that opens is larger than kMaxRollTypeFileBytes
//                               "The roll type file … holds … bytes, more than the … a roll
//                               type file may hold; it is not read." (kInvalid)
//   text cut short by NUL bytes  "Error converting file to string (may contain binary data)"
//   UTF-16 of an odd length     "Loading the XML config file : " + " File Does Not Parse Properly"
//                               + " (UTF-16 text of an odd number of bytes)"
//   parse error                 "Loading the XML config file : " + " File Does Not Parse Properly"
// (the last three kCorrupt). Ok when a file was parsed; `loaded_path` (if given) then receives
// the file read.
Result LoadRollTypeDefinitions(const std::vector<std::string>& candidates, XmlDocument& document,
                               std::vector<std::string>& names, std::string* loaded_path = nullptr);

// Converts the bytes of a library file to the text the parser reads (see above). Fails
// (kCorrupt, with the message to report) when the text is shorter than bytes / 2 - 20
// characters, i.e. holds binary data, or when UTF-16 text has an odd number of bytes (its last
// character is incomplete: the file was cut or is not UTF-16).
Result RollTypeFileText(const std::string& bytes, std::string& text);

}  // namespace tarvelo
