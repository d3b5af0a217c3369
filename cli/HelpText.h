#pragma once
// The texts the help pages end with: examples, the exit statuses, the environment variables
// and where the names of settings, roll types and roll information entries are found. The
// manual page (cli/ManualPage.h) is made from the same texts.

#include <string>
#include <vector>

namespace tarvelo::cli {

// The program's name as invoked (its base name), for usage lines and examples.
void SetProgramName(const std::string& argv0);
const std::string& ProgramName();

// "tarvelo-cli 1.0" and, on a line of its own, the build ("build: 88962d5c1a2b").
std::string ProgramVersionText();

// The end of the main help page.
std::string MainHelpFooter();

// The end of one command's help page: its examples, then what every page shows.
// `command` is one of info, convert, align, roll-types, edit, render, histogram, render-audio,
// play, settings.
std::string CommandHelpFooter(const std::string& command);

// A term and its explanation (an exit status, an environment variable). The help pages break
// the text where it holds "\n"; the manual page fills it.
struct HelpEntry {
  std::string Term;
  std::string Text;
};
std::vector<HelpEntry> ExitStatusEntries();
std::vector<HelpEntry> EnvironmentEntries();

// The example lines of the main page and of `command` ("  tarvelo-cli convert roll.cis").
std::string MainExamples();
std::string CommandExamples(const std::string& command);

// What a command's help page tells besides its options and examples, paragraphs separated by
// empty lines ("" for most commands).
std::string CommandNotes(const std::string& command);

}  // namespace tarvelo::cli
