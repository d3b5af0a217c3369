#pragma once
// The names of a scan file as the program uses them, split once from its path when the file is
// opened: the scan data keeps them (CisHeader::Names), and every file the program reads or
// writes beside the scan is named from them.

#include <string>
#include <string_view>

namespace tarvelo {

struct CisFileName {
  std::string Path;               // as given
  std::string Folder;             // up to and including the last separator ("" for none)
  std::string NameWithExtension;  // after the last separator
  std::string Name;               // NameWithExtension up to its first "."
  // The last three characters of NameWithExtension, lower-cased; for a picture, its whole
  // extension after the last ".", lower-cased (the opening's messages name the file by it).
  std::string Extension;
};
CisFileName SplitCisFileName(const std::string& path);

// The file beside the scan named by its Name and `suffix` (".ann", "_DiagnosticFileValues.txt").
std::string SiblingFilePath(const CisFileName& names, std::string_view suffix);

}  // namespace tarvelo
