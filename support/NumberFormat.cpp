#include "support/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tarvelo {

namespace {

// Locale-independent printf-style conversions: the desktop front end may switch the C locale,
// which must never change a decimal point written into a file.
std::string ToChars(double value, std::chars_format format, int precision) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, result.ptr);
}

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// Removes trailing zeros after the decimal point, keeping the point itself.
void TrimFraction(std::string& digits) {
  const auto point = digits.find('.');
  if (point == std::string::npos) {
    digits += '.';
    return;
  }
  auto end = digits.size();
  while (end > point + 1 && digits[end - 1] == '0') --end;
  digits.resize(end);
}

}  // namespace

std::string FormatGcvt(double value, int digits) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (digits < 1) digits = 1;
  if (digits > 40) digits = 40;

  // Round to `digits` significant digits once; the exponent of the rounded value decides the form.
  const std::string text = ToChars(value, std::chars_format::scientific, digits - 1);
  const auto e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string mantissa = text.substr(0, e);

  if (value == 0.0) return "0.";

  if (exponent < -1 || exponent > digits - 1) {
    TrimFraction(mantissa);
    char exp_text[16];
    std::snprintf(exp_text, sizeof exp_text, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + exp_text;
  }
  // Fixed form: digits-1-m decimals reproduce exactly the rounded significant digits.
  std::string fixed = ToChars(value, std::chars_format::fixed, digits - 1 - exponent);
  TrimFraction(fixed);
  return fixed;
}

std::string FormatInt6(long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%6lld", value);
  return buffer;
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  // 309 digits before the point at the most: 20 decimals still fit ToChars's buffer.
  return ToChars(value, std::chars_format::fixed, std::clamp(decimals, 0, 20));
}

std::string FormatFixed6_3(double value) {
  if (!std::isfinite(value)) return PadLeft(std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf"), 6);
  return PadLeft(ToChars(value, std::chars_format::fixed, 3), 6);
}

}  // namespace tarvelo
