#pragma once
// The one place where the command line turns outcomes into exit statuses:
//   0    every file converted (or the command did what it was asked)
//   1    a file failed (unreadable, refused, an error message, an output not written), or the
//        profile could not be saved; with --strict also a file converted with warnings
//   2    usage: an option, a setting name, a value or a file the user named was refused
//   3    every file was converted, some with warnings
//   130  stopped by SIGINT (Ctrl-C), 143 stopped by SIGTERM: 128 + the signal's number

#include "support/Result.h"

namespace tarvelo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitWarnings = 3;

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

// The worse of two statuses: usage errors outrank failed files, which outrank warnings.
inline int WorseExitStatus(int a, int b) {
  const auto rank = [](int status) { return status == kExitWarnings ? 1 : status == kExitOk ? 0 : status + 1; };
  return rank(a) >= rank(b) ? a : b;
}

// The status of a batch from its counts: failed files give 1; files with warnings give 3,
// or 1 when `strict`.
inline int ExitStatusForBatch(int failed, int with_warnings, bool strict) {
  if (failed > 0) return kExitFileFailed;
  if (with_warnings > 0) return strict ? kExitFileFailed : kExitWarnings;
  return kExitOk;
}

// The status of a command stopped by `signal_number`.
inline int ExitStatusForSignal(int signal_number) { return 128 + signal_number; }

}  // namespace tarvelo::cli
