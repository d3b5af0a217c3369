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

// Writes `bytes` to `path` atomically. On failure (kIoError, the message naming the path and
// the system's reason) any existing file at `path` is untouched and the temporary file removed.
Result WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush = Flush::kToDisk);

// Reads a whole file into `bytes`. kIoError when it cannot be read (kNotFound when it does not
// exist), with a message naming the path and the reason.
Result ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace tarvelo
