#pragma once
// Conversions of stored texts to numbers the way the C runtime's atof and atoi read them:
// leading white space, an optional sign, then as many digits as form a number; anything
// else yields 0. Only plain decimal numbers are accepted (no hexadecimal, no "inf"/"nan"),
// and the result is always finite.

#include <string_view>

namespace tarvelo {

// Decimal real as atof reads it; 0 for text that does not start with a number.
// A value beyond the double range gives 0 instead of an infinity.
double LenientToDouble(std::string_view text);

// Decimal integer as atoi reads it, clamped to the 32-bit range.
int LenientToInt(std::string_view text);

// Strict integer: the whole text (after optional surrounding blanks) is a decimal integer
// within the 32-bit range. Used for values stored as integers.
bool ParseStrictInt(std::string_view text, int& out);

// Strict real: the whole text (after optional surrounding blanks) is a finite decimal number.
bool ParseStrictDouble(std::string_view text, double& out);

}  // namespace tarvelo
