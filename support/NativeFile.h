#pragma once
// The operating system's file calls that whole-file reads and atomic writes are made of, over
// UTF-8 names and always in binary mode: one place for their POSIX and Windows forms. Like the
// POSIX calls, each returns -1 or false with errno set when it fails.

#include <cstdint>
#include <string>

namespace tarvelo {

// Opens an existing file for reading; the file descriptor, or -1. The open never waits: a FIFO
// without a writer or a device opens at once (and RegularFileSize then refuses it).
int OpenForReading(const std::string& path);

// What stands at `path`, links followed.
enum class FileKind {
  kMissing,  // nothing (or a link that leads nowhere)
  kRegular,
  kFolder,
  kDevice,  // a character device or a FIFO: a stream that is written to, never replaced
  kOther,   // a socket, a block device, or a name that cannot be looked at
};
FileKind KindOfFile(const std::string& path);

// The name a write to `path` replaces: `path` itself, or, when `path` is a symbolic link (or
// a chain of them), the file the last link names, so that the link stays a link. A link that
// leads nowhere gives the name it leads to. `streamed` tells whether a name on the way lies in
// the system's /dev or /proc (/dev/stdout, /proc/self/fd/1): a file reached that way is some
// process's open stream, which is written to where it stands. False (errno set) for a loop of
// links.
bool ResolveLinks(const std::string& path, std::string& target, bool& streamed);

// Opens the existing device, FIFO or stream `path` for writing at its end, without waiting for
// a FIFO's reader (ENXIO when it has none) and without creating or truncating anything. The
// descriptor, or -1.
int OpenDeviceForWriting(const std::string& path);

// Creates a new, empty file for writing whose name is `name_template` with its last six
// characters ("XXXXXX") replaced so that the name is new; the template is updated to the
// name made. The file descriptor, or -1.
int CreateUniqueFile(std::string& name_template);

// The size of the open file `fd`; false (errno EINVAL when it is something else, a folder or
// a device) unless it is a regular file.
bool RegularFileSize(int fd, std::uint64_t& size);

// Flushes what was written to `fd` to the disk.
bool SyncToDisk(int fd);

// Renames `from` to `to` in one step, replacing a file of that name (on Windows with
// MoveFileEx, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
bool RenameOver(const std::string& from, const std::string& to);

// Removes the file `path`.
bool RemoveFile(const std::string& path);

// Creates the new, empty file `path` for writing (it must not exist yet), with the usual
// permissions (0666 less the umask on POSIX systems). The file descriptor, or -1.
int CreateNewFile(const std::string& path);

// Whether `path` is an existing file that must not be replaced: one without write permission
// for anyone, or none for this process (on Windows, one with the read-only attribute).
bool IsReadOnlyFile(const std::string& path);

// Gives the open file `fd` the permissions of the file `path`, when there is one (POSIX
// systems; on Windows a new file takes its folder's, as the file it replaces did).
void CopyPermissions(const std::string& path, int fd);

// Removes the file `path` from a signal handler: on POSIX systems unlink only, which is
// async-signal-safe; on Windows, whose console handlers run on a thread of their own, as
// RemoveFile does.
void RemoveFileFromSignalHandler(const char* path);

}  // namespace tarvelo
