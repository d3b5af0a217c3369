#include "support/ProcessEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "support/Utf8Path.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef __APPLE__
#include <mach-o/dyld.h>

#include <cstdint>
#endif

#ifdef _WIN32
#include "support/WindowsApi.h"
#include "support/WindowsText.h"

#include <shellapi.h>  // after windows.h
#endif

namespace tarvelo {

#ifdef _WIN32

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (wide == nullptr) {
    arguments.assign(argv, argv + argc);
    return arguments;
  }
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

std::optional<std::string> EnvironmentValue(const char* name) {
  const std::wstring key = WideFromUtf8(name);
  const wchar_t* value = _wgetenv(key.c_str());
  if (value == nullptr) return std::nullopt;
  return Utf8FromWide(value);
}

std::string ExecutableFilePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Utf8FromWide(std::wstring_view(buffer.data(), length));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

#else

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::optional<std::string> EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string ExecutableFilePath() {
  std::error_code ec;
#ifdef __linux__
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.string();
#elif defined(__APPLE__)
  // The path the program was started by (inside its app bundle), with links resolved.
  uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::string path(size, '\0');
  if (_NSGetExecutablePath(path.data(), &size) == 0) {
    path.resize(path.find('\0') == std::string::npos ? path.size() : path.find('\0'));
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
  }
#endif
  return {};
}

#endif

std::string WorkingFolderPath() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::current_path(ec);
  return ec ? std::string() : Utf8FromPath(folder);
}

void KeepFreedMemoryInProcess() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 512 << 20);
  mallopt(M_TRIM_THRESHOLD, 1024 << 20);
#endif
}

}  // namespace tarvelo
