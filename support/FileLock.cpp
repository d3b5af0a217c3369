#include "support/FileLock.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include "support/TextEncoding.h"
#include "support/WindowsApi.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tarvelo {

#ifdef _WIN32

namespace {

// The system's text for the last error, without its trailing line break.
std::string LastErrorReason() {
  const DWORD error = GetLastError();
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = length > 0 ? Utf16ToUtf8(std::u16string(text, text + length)) : "error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
  return reason;
}

}  // namespace

FileLock::FileLock(const std::string& lock_path) {
  const std::u16string wide = Utf8ToUtf16(lock_path);
  const HANDLE handle = CreateFileW(std::wstring(wide.begin(), wide.end()).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    outcome_ = Result::IoError("cannot open the lock file " + lock_path + ": " + LastErrorReason());
    return;
  }
  // The whole file's range, waiting for another holder.
  OVERLAPPED from_start{};
  if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &from_start)) {
    outcome_ = Result::IoError("cannot lock " + lock_path + ": " + LastErrorReason());
    CloseHandle(handle);
    return;
  }
  lock_ = reinterpret_cast<std::intptr_t>(handle);
}

FileLock::~FileLock() {
  // Closing the handle releases the lock.
  if (lock_ != -1) CloseHandle(reinterpret_cast<HANDLE>(lock_));
}

#else

FileLock::FileLock(const std::string& lock_path) {
  const int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    outcome_ = Result::IoError("cannot open the lock file " + lock_path + ": " + std::strerror(errno));
    return;
  }
  // flock waits for the other holder; a signal that interrupts the wait is not a failure.
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    outcome_ = Result::IoError("cannot lock " + lock_path + ": " + std::strerror(errno));
    ::close(fd);
    return;
  }
  lock_ = fd;
}

FileLock::~FileLock() {
  // Closing the descriptor releases the lock.
  if (lock_ != -1) ::close(static_cast<int>(lock_));
}

#endif

}  // namespace tarvelo
