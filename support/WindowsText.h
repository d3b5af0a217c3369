#pragma once
// Text at the Windows API: the program holds UTF-8, the API takes and gives wide (UTF-16)
// strings. Through the program's own converters, which never throw on a malformed name.

#ifdef _WIN32

#include <string>
#include <string_view>

namespace tarvelo {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The system's text for an error code (GetLastError's, a registry call's status) without its
// trailing line break and full stop; "error N" when the system has no text for it.
std::string SystemErrorText(unsigned long code);

}  // namespace tarvelo

#endif
