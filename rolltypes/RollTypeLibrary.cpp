#include "rolltypes/RollTypeLibrary.h"

#include <algorithm>
#include <filesystem>

#include "support/AtomicFile.h"
#include "support/ProcessEnvironment.h"
#include "support/TextEncoding.h"
#include "support/Utf8Path.h"

namespace tarvelo {

namespace {

#ifndef TARVELO_DATA_DIR
#define TARVELO_DATA_DIR ""
#endif

void AddUnique(std::vector<std::string>& list, std::string path) {
  if (std::find(list.begin(), list.end(), path) == list.end()) list.push_back(std::move(path));
}

}  // namespace

std::string WorkingFolder() { return WorkingFolderPath(); }

std::string ExecutablePath() { return ExecutableFilePath(); }

std::vector<std::string> RollTypeDefinitionsCandidates(const std::string& working_folder,
                                                       const std::string& executable_path) {
  std::vector<std::string> candidates;
  if (!working_folder.empty()) AddUnique(candidates, working_folder + kPathSeparator + kRollTypeDefinitionsFileName);
  if (!executable_path.empty()) {
    const std::filesystem::path folder = PathFromUtf8(executable_path).parent_path();
    AddUnique(candidates, Utf8FromPath(folder / kRollTypeDefinitionsFileName));
    AddUnique(
        candidates,
        Utf8FromPath((folder.parent_path() / "share" / "tarvelo" / kRollTypeDefinitionsFileName).lexically_normal()));
  }
  const std::string data_dir = TARVELO_DATA_DIR;
  if (!data_dir.empty()) AddUnique(candidates, Utf8FromPath(PathFromUtf8(data_dir) / kRollTypeDefinitionsFileName));
  return candidates;
}

Result RollTypeFileText(const std::string& bytes, std::string& text) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    if (bytes.size() % 2 != 0) {
      text.clear();
      return Result::Corrupt(std::string("Loading the XML config file : ") + " File Does Not Parse Properly" +
                             " (UTF-16 text of an odd number of bytes)");
    }
    text = Utf16LeToUtf8(std::string_view(bytes).substr(2));
  } else {
    // The text ends at its first NUL byte.
    text.assign(bytes.c_str());
  }
  const long long expected = static_cast<long long>(bytes.size()) / 2 - 20;
  if (static_cast<long long>(text.size()) < expected)
    return Result::Corrupt("Error converting file to string (may contain binary data)");
  return Result::Ok();
}

Result LoadRollTypeDefinitions(const std::vector<std::string>& candidates, XmlDocument& document,
                               std::vector<std::string>& names, std::string* loaded_path) {
  names.assign(1, kFailSafeRollTypeName);
  auto fail = [&document](Result failure) {
    document.SetDocument(nullptr).Ignore();
    return failure;
  };
  std::string bytes;
  std::error_code error;
  const std::string* opened = nullptr;
  for (const std::string& path : candidates) {
    const Result read = ReadWholeFile(path, bytes, kMaxRollTypeFileBytes);
    if (read.kind() == Result::Kind::kInvalid) {
      // Found but too large: not passed over for another candidate, which would hide it.
      return fail(Result::Invalid("The roll type file " + path + " holds " +
                                  std::to_string(std::filesystem::file_size(path, error)) + " bytes, more than the " +
                                  std::to_string(kMaxRollTypeFileBytes) +
                                  " a roll type file may hold; it is not read."));
    }
    if (read.ok()) {
      opened = &path;
      break;
    }
  }
  if (opened == nullptr)
    return fail(Result::NotFound("Unable to open XML config file " +
                                 (candidates.empty() ? std::string() : candidates.front())));
  if (loaded_path) *loaded_path = *opened;

  std::string text;
  if (Result converted = RollTypeFileText(bytes, text); !converted.ok()) return fail(std::move(converted));
  std::string().swap(bytes);
  if (!document.SetDocument(text))
    return Result::Corrupt(std::string("Loading the XML config file : ") + " File Does Not Parse Properly");

  // As when a roll type is applied: without a RollTypeDefinitions top element the RollType
  // search looks at the top level.
  document.ResetPosition();
  document.FindElement("RollTypeDefinitions");
  document.IntoElement();
  while (document.FindElement("RollType")) names.push_back(document.Attribute("Name"));
  document.OutOfElement();
  return Result::Ok();
}

}  // namespace tarvelo
