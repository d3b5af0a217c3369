#pragma once
// Folders the tests use: a fresh temporary folder per test, and the shared real scans.

#include <filesystem>
#include <string>

namespace tarvelo::testing {

// A new empty folder under the system's temporary folder, removed when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // The UTF-8 name of file `name` (UTF-8) in the folder.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// ../shared/data/real-cis beside the repository, or an empty path when it is absent
// (tests that need it skip).
std::filesystem::path RealCisDir();

// Writes bytes to a file (test setup); names are UTF-8.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

}  // namespace tarvelo::testing

// Skips the current test when the real scans are not available.
#define TARVELO_REQUIRE_REAL_CIS()                                                              \
  do {                                                                                          \
    if (::tarvelo::testing::RealCisDir().empty()) GTEST_SKIP() << "no ../shared/data/real-cis"; \
  } while (0)
