#pragma once
// The texts the help pages end with: examples, the exit statuses, the environment variables
// and where the names of settings, roll types and roll information entries are found. The
// manual page is made from these pages at build time.

#include <string>

namespace tarvelo::cli {

// The program's name as invoked (its base name), for usage lines and examples.
void SetProgramName(const std::string& argv0);
const std::string& ProgramName();

// "tarvelo-cli 1.0" and, on a line of its own, the build ("build: 88962d5c1a2b").
std::string ProgramVersionText();

// The end of the main help page.
std::string MainHelpFooter();

// The end of one command's help page: its examples, then what every page shows.
// `command` is one of info, convert, roll-types, edit, render, histogram, settings.
std::string CommandHelpFooter(const std::string& command);

}  // namespace tarvelo::cli
