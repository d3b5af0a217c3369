#pragma once
// Number texts that end up in messages, profiles, keyword items and diagnostic files.
// They are compared byte for byte with files written by other installations, so each
// follows one fixed rule.

#include <string>

namespace tarvelo {

// `value` with `digits` significant digits in the form of the Microsoft runtime's _gcvt:
// fixed notation while the decimal exponent m of the rounded value lies in -1..digits-1,
// otherwise exponent notation with at least three exponent digits. Trailing zeros are
// removed but the decimal point is always kept: 2 -> "2.", 0.5 -> "0.5", 0 -> "0.",
// 0.02 (10 digits) -> "2.e-002", 1e20 (8 digits) -> "1.e+020".
// Non-finite values are written as "inf", "-inf" or "nan".
std::string FormatGcvt(double value, int digits);

// printf "%6i": the integer right-aligned in at least six characters.
std::string FormatInt6(long long value);

// printf "%6.3f": three decimals, right-aligned in at least six characters.
std::string FormatFixed6_3(double value);

// printf "%.*f" in the C locale: `decimals` (0 to 20) decimals, no padding; "nan", "inf", "-inf".
std::string FormatFixed(double value, int decimals);

}  // namespace tarvelo
