#include "cli/OutputFolders.h"

#include <algorithm>
#include <system_error>

#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace fs = std::filesystem;

Result OutputFolders::Make(const std::string& folder) {
  const fs::path wanted = PathFromUtf8(folder);
  std::lock_guard lock(mutex_);
  std::error_code error;
  std::vector<fs::path> missing;
  for (fs::path at = fs::absolute(wanted, error).lexically_normal(); !error && !at.empty(); at = at.parent_path()) {
    std::error_code exists_error;
    if (fs::exists(at, exists_error) || exists_error || at == at.parent_path()) break;
    missing.push_back(at);
  }
  fs::create_directories(wanted, error);
  for (const fs::path& made : missing) {
    std::error_code type_error;
    if (fs::is_directory(made, type_error)) made_.push_back(made);
  }
  std::error_code type_error;
  if (fs::is_directory(wanted, type_error)) return Result::Ok();
  return Result::IoError("cannot make the output folder " + folder + ": " +
                         (error ? error.message() : std::string("not a folder")));
}

void OutputFolders::RemoveEmpty() {
  std::lock_guard lock(mutex_);
  // Deeper paths are longer: removing the longest first empties their parents before those
  // are tried.
  std::sort(made_.begin(), made_.end(),
            [](const fs::path& a, const fs::path& b) { return a.native().size() > b.native().size(); });
  for (const fs::path& folder : made_) {
    std::error_code error;
    if (fs::is_empty(folder, error) && !error) fs::remove(folder, error);
  }
  made_.clear();
}

}  // namespace tarvelo::cli
