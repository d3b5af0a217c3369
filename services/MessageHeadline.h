#pragma once
// The headline of a message: what a one-line report (a batch summary row, a catalogue entry,
// a status bar) shows of it.

#include <string>
#include <string_view>

namespace tarvelo {

// The first line of `text` that holds more than blanks, without its surrounding blanks. A
// line that only names the file (the damaged-line messages start with " *** File : NAME") is
// passed over: a one-line report names the file already. "" when no line is left.
std::string MessageHeadline(std::string_view text);

}  // namespace tarvelo
