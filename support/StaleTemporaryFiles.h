#pragma once
// Temporary files that a killed process left behind. An atomic write (support/AtomicFile.h)
// writes into "<file>.tmp-XXXXXX" beside its file and renames it once complete; SIGKILL, a power
// cut or a crash between the two leaves that file in place, and no later write would reuse it.

#include <chrono>
#include <string>
#include <string_view>

namespace tarvelo {

// Whether `name` (a file name without folder) is one an atomic write gives its temporary
// file: something, then ".tmp-" and six letters or digits.
bool IsTemporaryFileName(std::string_view name);

// The age past which a temporary file is stale: no write in progress takes that long.
inline constexpr std::chrono::hours kStaleTemporaryAge{1};

// Removes the stale temporary files (regular files whose name IsTemporaryFileName and that were
// last changed more than kStaleTemporaryAge ago) from the folder of `file`, once per folder in
// a process: later calls for the same folder return at once. A folder that cannot be listed,
// or a file that cannot be removed, is left as it is.
void RemoveStaleTemporaryFiles(const std::string& file);

}  // namespace tarvelo
