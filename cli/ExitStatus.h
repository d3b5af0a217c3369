#pragma once
// The one place where the command line turns outcomes into exit statuses:
//   0  every file converted (or the command did what it was asked)
//   1  a file could not be opened, converted or written, or the profile could not be saved
//   2  usage: an option, a setting name or a value the user typed was refused

#include "support/Result.h"

namespace tarvelo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileFailed = 1;
inline constexpr int kExitUsage = 2;

// The status for the outcome of something the user typed (an option, a setting): a value
// or name that is refused or unknown is a usage error; a failure to read or write is not.
inline int ExitStatusForArgument(const Result& result) {
  switch (result.kind()) {
    case Result::Kind::kOk:
      return kExitOk;
    case Result::Kind::kInvalid:
    case Result::Kind::kNotFound:
      return kExitUsage;
    case Result::Kind::kIoError:
    case Result::Kind::kCorrupt:
    case Result::Kind::kCancelled:
      return kExitFileFailed;
  }
  return kExitFileFailed;
}

// The status for the outcome of working on one file: any failure fails the file.
inline int ExitStatusForFile(const Result& result) { return result.ok() ? kExitOk : kExitFileFailed; }

// The worse of two statuses (usage errors outrank failed files).
inline int WorseExitStatus(int a, int b) { return a > b ? a : b; }

}  // namespace tarvelo::cli
