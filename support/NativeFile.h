#pragma once
// The operating system's file calls that whole-file reads and atomic writes are made of, over
// UTF-8 names and always in binary mode: one place for their POSIX and Windows forms. Like the
// POSIX calls, each returns -1 or false with errno set when it fails.

#include <cstdint>
#include <string>

namespace tarvelo {

// Opens an existing file for reading; the file descriptor, or -1.
int OpenForReading(const std::string& path);

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
