#include "support/LenientNumber.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tarvelo {

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `text` (from `start`) that forms a decimal real:
// sign, digits, optional point and digits (at least one digit in all), optional exponent.
size_t RealPrefixLength(std::string_view text, size_t start) {
  size_t i = start;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  return i - start;
}

size_t SkipSpace(std::string_view text, size_t i) {
  while (i < text.size() && IsSpace(text[i])) ++i;
  return i;
}

}  // namespace

double LenientToDouble(std::string_view text) {
  const size_t start = SkipSpace(text, 0);
  const size_t length = RealPrefixLength(text, start);
  if (length == 0) return 0.0;
  double value = 0.0;
  const size_t skip = text[start] == '+' ? 1 : 0;  // from_chars takes no plus sign
  const auto result = std::from_chars(text.data() + start + skip, text.data() + start + length, value);
  if (result.ec != std::errc()) return 0.0;  // out of range
  return std::isfinite(value) ? value : 0.0;
}

int LenientToInt(std::string_view text) {
  size_t i = SkipSpace(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    value = value * 10 + (text[i++] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<int>(value);
}

bool ParseStrictInt(std::string_view text, int& out) {
  size_t i = SkipSpace(text, 0);
  size_t end = text.size();
  while (end > i && IsSpace(text[end - 1])) --end;
  text = text.substr(i, end - i);
  if (text.empty()) return false;
  size_t j = 0;
  if (text[0] == '+' || text[0] == '-') ++j;
  if (j == text.size()) return false;
  for (size_t k = j; k < text.size(); ++k)
    if (!IsDigit(text[k])) return false;
  if (text.size() - j > 10) return false;
  const long long value = std::strtoll(std::string(text).c_str(), nullptr, 10);
  if (value < INT_MIN || value > INT_MAX) return false;
  out = static_cast<int>(value);
  return true;
}

bool ParseStrictDouble(std::string_view text, double& out) {
  const size_t start = SkipSpace(text, 0);
  const size_t length = RealPrefixLength(text, start);
  if (length == 0 || SkipSpace(text, start + length) != text.size()) return false;
  double value = 0.0;
  const size_t skip = text[start] == '+' ? 1 : 0;  // from_chars takes no plus sign
  const auto result = std::from_chars(text.data() + start + skip, text.data() + start + length, value);
  if (result.ec != std::errc() || !std::isfinite(value)) return false;
  out = value;
  return true;
}

}  // namespace tarvelo
