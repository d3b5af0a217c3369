#pragma once
// The manual page of tarvelo-cli (roff, man macros), made from the commands and options the
// program parses and the texts of its help pages, so that page and help never disagree: NAME,
// SYNOPSIS, DESCRIPTION, a section per command (its options, examples and notes), EXIT
// STATUS, ENVIRONMENT, FILES, EXAMPLES and SEE ALSO. Text is left for man to fill; the only
// preformatted lines, the examples, are broken to fit an 80-column terminal.

#include <string>

namespace CLI {
class App;
}

namespace tarvelo::cli {

std::string ManualPage(const CLI::App& app, const std::string& version);

}  // namespace tarvelo::cli
