#include "helpers/TestPaths.h"

#include <fstream>
#include <random>
#include <sstream>

#include "support/Utf8Path.h"

namespace tarvelo::testing {

TempDir::TempDir() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("tarvelo-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

std::string TempDir::File(const std::string& name) const { return Utf8FromPath(path_ / PathFromUtf8(name)); }

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path RealCisDir() {
  const std::filesystem::path dir = std::filesystem::path(TARVELO_SHARED_DIR) / "data" / "real-cis";
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace tarvelo::testing
