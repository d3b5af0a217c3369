#pragma once
// Text laid out for a terminal of a given width: lines wrapped at blanks, and names shortened
// in the middle, so that nothing the command line prints is wider than the terminal.
// Widths are counted as TextColumns counts them (cli/ProgressLine.h).

#include <string>
#include <string_view>
#include <vector>

namespace tarvelo::cli {

// `text` (one line) broken at blanks into lines of at most `columns` columns; a word longer
// than a line is cut where the line ends. Empty text gives one empty line.
std::vector<std::string> WrapToColumns(std::string_view text, int columns);

// Every line of `text` (lines end in "\n") wider than `columns` wrapped, the lines after the
// first indented by `indent` blanks. `columns` <= 0 leaves the text as it is.
std::string WrapLines(std::string_view text, int columns, int indent);

// `text` when it fits `columns`, else its start and its end with "..." between them (the end,
// which tells files of one folder apart, gets two thirds of the room).
std::string ShortenInMiddle(std::string_view text, int columns);

}  // namespace tarvelo::cli
