#include "support/StaleTemporaryFiles.h"

#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

#include "support/Utf8Path.h"

namespace tarvelo {

namespace {

bool IsLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

bool IsTemporaryFileName(std::string_view name) {
  constexpr std::string_view kMark = ".tmp-";
  constexpr size_t kSuffixLetters = 6;
  if (name.size() <= kMark.size() + kSuffixLetters) return false;
  const std::string_view suffix = name.substr(name.size() - kSuffixLetters);
  if (name.substr(name.size() - kSuffixLetters - kMark.size(), kMark.size()) != kMark) return false;
  for (const char c : suffix)
    if (!IsLetterOrDigit(c)) return false;
  return true;
}

void RemoveStaleTemporaryFiles(const std::string& file) {
  namespace fs = std::filesystem;
  static std::mutex mutex;
  static std::set<fs::path> cleaned;
  fs::path folder = PathFromUtf8(file).parent_path();
  if (folder.empty()) folder = ".";
  {
    std::lock_guard lock(mutex);
    if (!cleaned.insert(folder).second) return;
  }
  try {
    std::error_code error;
    const auto oldest_kept = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      if (!IsTemporaryFileName(Utf8FromPath(it->path().filename()))) continue;
      std::error_code ignored;
      if (!it->is_regular_file(ignored) || it->is_symlink(ignored)) continue;
      const auto changed = fs::last_write_time(it->path(), ignored);
      if (!ignored && changed < oldest_kept) fs::remove(it->path(), ignored);
    }
  } catch (const std::exception&) {
    // A name that cannot be converted or memory that runs out: the clean-up is only a courtesy.
  }
}

}  // namespace tarvelo
