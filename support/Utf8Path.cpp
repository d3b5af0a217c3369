#include "support/Utf8Path.h"

#ifdef _WIN32
#include "support/TextEncoding.h"
#endif

namespace tarvelo {

#ifdef _WIN32

// Through the program's own converters: the library's would throw on a malformed name.
std::filesystem::path PathFromUtf8(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

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
