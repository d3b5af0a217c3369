#pragma once
// The text of convert --log: a header that says when and how the batch ran (date, command
// line, program version, profile, settings digest), then for each file in input order its
// messages, the outputs it wrote and one line with its status, then the summary.

#include <ctime>
#include <string>
#include <vector>

#include "cli/FileOutcome.h"

namespace tarvelo::cli {

struct LogHeader {
  std::time_t Started = 0;
  std::vector<std::string> CommandLine;  // the words as typed, the program's name first
  std::string Profile;                   // the profile's file (or registry key)
  std::string SettingsDigest;            // of the settings handed to every file (settings/SettingsDigest.h)
};

// The header lines, each "name: value", the date in local time with its offset from UTC
// ("2024-11-14 22:13:20 +0100").
std::string LogHeaderText(const LogHeader& header);

// The words joined by blanks, each word that the POSIX shell would split or expand quoted
// ('it'\''s'), so that the line can be run again as it stands.
std::string ShellCommandLine(const std::vector<std::string>& words);

// "<input>: <status>; <w> warnings, <e> errors; <n> outputs written; <s> s".
std::string LogFileLine(const FileOutcome& outcome);

}  // namespace tarvelo::cli
