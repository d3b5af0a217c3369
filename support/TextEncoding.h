#pragma once
// Conversions between the text encodings the program meets in its files.

#include <string>
#include <string_view>

namespace tarvelo {

// UTF-16 little-endian bytes (without byte-order mark) to UTF-8. The text ends at the first
// NUL code unit or at the last whole code unit; a lone surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// UTF-8 text to UTF-16 code units and back, for the operating system's wide-character calls
// (Windows file names, the registry). Every byte sequence that is not UTF-8 becomes U+FFFD, as
// does a lone surrogate on the way back; embedded NULs are kept.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace tarvelo
