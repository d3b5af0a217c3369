#include "support/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include "support/FileReader.h"
#include "support/NativeFile.h"
#include "support/StaleTemporaryFiles.h"

namespace tarvelo {

namespace {

// The temporary files being written, for RemoveTemporaryFiles. A slot is claimed (free →
// filling), gets its path, and is published (filling → listed) before the file is created; it
// is freed once the file is renamed or removed. A signal handler reads only listed slots.
constexpr int kTemporarySlots = 64;
constexpr size_t kTemporaryPathBytes = 4096;
enum SlotState : int { kFree = 0, kFilling = 1, kListed = 2 };
struct TemporarySlot {
  std::atomic<int> state{kFree};
  char path[kTemporaryPathBytes];
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler may only use lock-free atomics");
TemporarySlot temporary_slots[kTemporarySlots];

// Lists `path`; the slot to free afterwards, or -1 when the table is full or the path too long.
int ListTemporaryFile(const std::string& path) {
  if (path.size() >= kTemporaryPathBytes) return -1;
  for (int i = 0; i < kTemporarySlots; ++i) {
    TemporarySlot& slot = temporary_slots[i];
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.state.store(kListed, std::memory_order_release);
    return i;
  }
  return -1;
}

void UnlistTemporaryFile(int slot) {
  if (slot >= 0) temporary_slots[slot].state.store(kFree, std::memory_order_release);
}

// Six letters and digits that differ from call to call, thread to thread and process to process.
std::string UniqueSuffix() {
  static std::atomic<uint64_t> calls{0};
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  // The clock and the table's address (placed anew in each process) tell processes apart.
  uint64_t mixed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  mixed ^= (reinterpret_cast<uintptr_t>(&temporary_slots) << 16) ^ (calls.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  mixed ^= mixed >> 29;
  mixed *= 0xBF58476D1CE4E5B9ull;
  mixed ^= mixed >> 32;
  std::string suffix(6, 'A');
  for (char& c : suffix) {
    c = kDigits[mixed % 62];
    mixed /= 62;
  }
  return suffix;
}

// The failure of an operation on `path`, with the system's reason for the errno in force.
Result SystemFailure(const std::string& what, const std::string& path) {
  return Result::IoError(what + " " + path + ": " + std::strerror(errno));
}

// A temporary file that is being written: created beside the destination (so that the
// rename stays within one file system) and listed for RemoveTemporaryFiles from before it
// exists until it is renamed or removed.
class TemporaryFile {
 public:
  // Creates the file; Outcome() says whether it was.
  explicit TemporaryFile(const std::string& destination) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = destination + ".tmp-" + UniqueSuffix();
      slot_ = ListTemporaryFile(path_);
      fd_ = CreateNewFile(path_);
      if (fd_ >= 0) return;
      const int error = errno;
      UnlistTemporaryFile(slot_);
      slot_ = -1;
      errno = error;
      if (error != EEXIST) break;
    }
    outcome_ = SystemFailure("cannot create a file beside", destination);
  }
  ~TemporaryFile() { Abandon(); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const Result& Outcome() const { return outcome_; }
  int Descriptor() const { return fd_; }

  // Closes the file; false (errno set) when the data could not be written.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  // Puts the file in the destination's place; false (errno set) when it could not.
  bool RenameTo(const std::string& destination) {
    if (!RenameOver(path_, destination)) return false;
    UnlistTemporaryFile(slot_);
    slot_ = -1;
    path_.clear();
    return true;
  }

 private:
  // Closes and removes a file that was not renamed.
  void Abandon() {
    const int error = errno;
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty() && outcome_.ok()) RemoveFile(path_);
    UnlistTemporaryFile(slot_);
    errno = error;
  }

  std::string path_;
  int fd_ = -1;
  int slot_ = -1;
  Result outcome_;
};

// Writes all of `bytes` to `fd`; false (errno set) when the system refuses.
bool WriteAll(int fd, std::string_view bytes) {
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

void RemoveTemporaryFiles() {
  for (TemporarySlot& slot : temporary_slots)
    if (slot.state.load(std::memory_order_acquire) == kListed) RemoveFileFromSignalHandler(slot.path);
}

Result WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush, Destination destination) {
  std::string target;
  bool streamed = false;
  if (!ResolveLinks(path, target, streamed)) return SystemFailure("cannot follow the link", path);
  const FileKind kind = KindOfFile(target);
  const bool stream = kind == FileKind::kDevice || (streamed && kind == FileKind::kRegular);
  if (stream && destination == Destination::kFileOrStream) {
    const int fd = OpenDeviceForWriting(path);
    if (fd < 0) return SystemFailure("cannot write", path);
    const bool written = WriteAll(fd, bytes);
    const int error = errno;
    const bool closed = ::close(fd) == 0;
    errno = error;
    if (!written || !closed) return SystemFailure("cannot write", path);
    return Result::Ok();
  }
  if (kind == FileKind::kFolder) return Result::IoError("cannot replace " + path + ": it is a folder");
  if (kind == FileKind::kDevice || kind == FileKind::kOther)
    return Result::IoError("cannot replace " + path + ": not a regular file");
  // A read-only file is not replaced: the rename would pass over the protection the user gave it.
  if (IsReadOnlyFile(target)) return Result::IoError("cannot replace " + path + ": the file is read-only");

  RemoveStaleTemporaryFiles(target);
  TemporaryFile temp(target);
  if (!temp.Outcome().ok()) return temp.Outcome();
  const int fd = temp.Descriptor();
  CopyPermissions(target, fd);  // a file that is replaced keeps its permissions
  if (!WriteAll(fd, bytes)) return SystemFailure("cannot write", path);
  if (flush == Flush::kToDisk && !SyncToDisk(fd) && errno != EINVAL) return SystemFailure("cannot write", path);
  if (!temp.Close()) return SystemFailure("cannot write", path);
  if (!temp.RenameTo(target)) return SystemFailure("cannot replace", path);
  return Result::Ok();
}

Result ReadWholeFile(const std::string& path, std::string& bytes) { return ReadWholeFile(path, bytes, SIZE_MAX); }

Result ReadWholeFile(const std::string& path, std::string& bytes, size_t max_bytes) {
  FileReader file;
  if (Result opened = file.Open(path, max_bytes); !opened.ok()) return opened;
  bytes.resize(static_cast<size_t>(file.Size()));
  size_t got = 0;
  if (Result read = file.Read({reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()}, got); !read.ok()) return read;
  bytes.resize(got);
  return Result::Ok();
}

}  // namespace tarvelo
