#pragma once
// How the command line prints a message about a file: each line of the message that holds
// more than blanks becomes "<file>: <line>", so that the messages of a batch stay
// attributable whatever order they are read in.

#include <string>
#include <string_view>

namespace tarvelo::cli {

// The lines of `text`, each prefixed with `file` and ": " and ended with a line feed.
std::string PrefixedLines(std::string_view file, std::string_view text);

}  // namespace tarvelo::cli
