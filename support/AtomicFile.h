#pragma once
// Whole-file writes that never leave a half-written file behind: the bytes go to a
// temporary file in the destination's folder, which is renamed over the destination
// only when everything was written and flushed.

#include <string>
#include <string_view>

namespace tarvelo {

// Whether the new file is flushed to the disk before it replaces the old one. Files the user
// made or cannot make again (the settings profile, an edited CIS scan) are; outputs that any
// conversion writes again (MIDI and diagnostic files) need only be whole, which the rename
// alone guarantees, and a batch of thousands of them is not slowed by a flush each.
enum class Flush { kToDisk, kNo };

// Writes `bytes` to `path` atomically. On failure returns false, leaves any existing file
// at `path` untouched, removes the temporary file and puts a readable reason into `error`.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         Flush flush = Flush::kToDisk);

// Reads a whole file. Returns false with a reason in `error` when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

}  // namespace tarvelo
