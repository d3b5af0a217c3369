#include "cis/CisFileName.h"

#include "support/TextTrim.h"

namespace tarvelo {

CisFileName SplitCisFileName(const std::string& path) {
  CisFileName names;
  names.Path = path;
  const size_t slash = path.find_last_of("/\\");
  names.NameWithExtension = slash == std::string::npos ? path : path.substr(slash + 1);
  names.Folder = path.substr(0, path.size() - names.NameWithExtension.size());
  const std::string& name = names.NameWithExtension;
  names.Extension = ToLowerAscii(name.size() >= 3 ? name.substr(name.size() - 3) : name);
  names.Name = name.substr(0, name.find('.'));
  return names;
}

std::string SiblingFilePath(const CisFileName& names, std::string_view suffix) {
  return names.Folder + names.Name + std::string(suffix);
}

}  // namespace tarvelo
