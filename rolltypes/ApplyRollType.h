#pragma once
// Filling a roll type record from the parsed roll type library.

#include <cstdint>
#include <string_view>

#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"
#include "xml/XmlDocument.h"

namespace tarvelo {

// Fills `record` with the roll type called `name`: first the "Fail-Safe" values, then, unless
// the name is "Fail-Safe", every RollType element of `document` whose Name attribute equals
// `name` exactly, in file order (a later one with the same name is applied on top). The
// record's Name is `name` in every case. When no RollType matches, the record keeps the
// "Fail-Safe" values and kNotFound is returned (not reported: the caller reports it once) with
// the message "ERROR - Requested Roll Type Not Found : " + name. Figures the library gets
// wrong are reported to `reporter` as warnings. `document`'s position is moved.
//
// The settings of a roll type are applied in a fixed order, whatever their order in the
// file: hole range, punch step range, restoration range (each end refills the range),
// roll edges, track spacing (all 256 bands), pitch transpose, the per-track defaults over
// the hole range, the switches and acceleration, the channel instruments, the expression
// system with its figures (ExpressionParameters.h), and finally the individual `track`
// elements in file order (each: channel, pitch, velocity, webbing, edge shifts, punch
// diameter, colour, `center`, `width`, then its own expression bridge gap). An expression
// figure the library gets wrong (not a number, out of its range, a count that does not fit, a
// system that does not exist) is reported as a warning naming the roll type, and the figure
// the program knows is used. Track numbers outside
// 0..255 and instrument channels outside 0..15 are ignored; the hole range used by the
// per-track defaults is clipped to the 256 slots.
Result ApplyActiveRollType(RollTypeDefinition& record, std::string_view name, XmlDocument& document,
                           Reporter& reporter);

// A colour written as six hexadecimal digits red, green, blue ("#FF0000", "00ff00"):
// surrounding white space is trimmed, the last six characters are read (any character that
// is not a hexadecimal digit counts as 0; a shorter text reads as if padded on the left with
// zeros), and the result is red + green * 256 + blue * 65536.
uint32_t ParseColour(std::string_view text);

// A roll type switch: true when the text, lower-cased, contains "true" anywhere.
bool ParseRollTypeSwitch(std::string_view text);

}  // namespace tarvelo
