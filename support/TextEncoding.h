#pragma once
// Conversions between the text encodings the program meets in its files.

#include <string>
#include <string_view>

namespace tarvelo {

// UTF-16 little-endian bytes (without byte-order mark) to UTF-8. The text ends at the first
// NUL code unit or at the last whole code unit; a lone surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

}  // namespace tarvelo
