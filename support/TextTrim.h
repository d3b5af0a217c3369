#pragma once
// The two trims of the program and ASCII lower-casing. "Blanks" are the space character only
// (the roll information of ANN files is trimmed of blanks); "white space" is space, tab, line
// feed, carriage return, vertical tab and form feed (titles, entries, profile lines).

#include <string>
#include <string_view>

namespace tarvelo {

inline bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// `text` without the spaces at its two ends.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// `text` without the white space at its two ends.
inline std::string_view TrimWhiteSpace(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

// `text` with the letters A-Z lower-cased; every other byte as it is.
inline std::string ToLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

}  // namespace tarvelo
