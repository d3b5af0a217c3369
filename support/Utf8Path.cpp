#include "support/Utf8Path.h"

#ifdef _WIN32
#include "support/WindowsText.h"
#endif

namespace tarvelo {

#ifdef _WIN32

// Through the program's own converters: the library's would throw on a malformed name.
std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(WideFromUtf8(text)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return Utf8FromWide(path.native()); }

#else

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(std::string(text)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.native(); }

#endif

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty()) return folder;
  const char last = folder.back();
#ifdef _WIN32
  if (last == '/') return folder;
#endif
  if (last != kPathSeparator) folder += kPathSeparator;
  return folder;
}

}  // namespace tarvelo
