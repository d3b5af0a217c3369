#pragma once
// Whole-file writes that never leave a half-written file behind: the bytes go to a
// temporary file in the destination's folder, which is renamed over the destination
// only when everything was written and flushed.

#include <string>
#include <string_view>

namespace tarvelo {

// Writes `bytes` to `path` atomically. On failure returns false, leaves any existing file
// at `path` untouched, removes the temporary file and puts a readable reason into `error`.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Reads a whole file. Returns false with a reason in `error` when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

}  // namespace tarvelo
