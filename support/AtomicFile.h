#pragma once
// Whole-file writes that never leave a half-written file behind: the bytes go to a
// temporary file in the destination's folder, which is renamed over the destination
// only when everything was written and flushed.

#include <string>
#include <string_view>

#include "support/Result.h"

namespace tarvelo {

// Whether the new file is flushed to the disk before it replaces the old one. Files the user
// made or cannot make again (the settings profile, an edited CIS scan) are; outputs that any
// conversion writes again (MIDI and diagnostic files) need only be whole, which the rename
// alone guarantees, and a batch of thousands of them is not slowed by a flush each.
enum class Flush { kToDisk, kNo };

// What a write may meet at its destination besides a regular file (or nothing).
enum class Destination {
  kFile,          // outputs, scans, the profile: anything else is refused
  kFileOrStream,  // a log: a device, a FIFO or a process's open stream (/dev/stdout) is written to
};

// Writes `bytes` to `path` atomically. The temporary file is named after the file replaced +
// ".tmp-" and six letters or digits. A symbolic link is followed: the file it leads to is
// replaced in that file's folder and the link stays as it was (a link that leads nowhere gets
// the file it names). A folder, a device, a FIFO or a socket at `path` is never replaced:
// kIoError, except that a kFileOrStream write goes straight into a device, a FIFO (one with a
// reader) or a stream reached through /dev or /proc. A file that is replaced keeps its
// permissions; a new file gets the usual ones (0666 less the umask). A read-only file (no
// write permission for anyone, or none for this process) is never replaced. On failure
// (kIoError, the message naming the path and the system's reason) any existing file at `path`
// is untouched and the temporary file removed.
//
// The first write into a folder in a process also removes the temporary files that a killed
// process left there: names of this pattern that are regular files last changed more than
// an hour ago (no write in progress is that old).
Result WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush = Flush::kToDisk,
                           Destination destination = Destination::kFile);

// Removes the temporary file of every WriteFileAtomically call in progress, on any thread.
// Async-signal-safe (it reads a fixed table of paths with lock-free atomics and calls unlink
// only): a front end's handler of SIGINT or SIGTERM calls it before the process ends, so that
// a stopped program leaves no temporary file behind. The files being replaced stay as they
// were; a write whose temporary file is removed fails (or has already finished). Up to 64
// writes at once are known (paths up to 4095 bytes); a write beyond them goes on unlisted.
void RemoveTemporaryFiles();

// Reads a whole file into `bytes`. kIoError when it cannot be read (kNotFound when it does not
// exist), with a message naming the path and the reason.
Result ReadWholeFile(const std::string& path, std::string& bytes);

// The same for a file that must not exceed `max_bytes`: a larger one is not read (kInvalid,
// naming the path, its size and the limit), so that a hostile file cannot take the memory.
Result ReadWholeFile(const std::string& path, std::string& bytes, size_t max_bytes);

}  // namespace tarvelo
