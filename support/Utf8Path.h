#pragma once
// File names are UTF-8 text throughout the program. The standard library's paths hold the
// system's own form (bytes on POSIX systems, UTF-16 on Windows, where a narrow string would be
// taken in the local code page and "Chopin Étude.cis" could not be opened); these convert
// between the two wherever a name meets std::filesystem.

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvelo {

// The path named by UTF-8 `text`. On POSIX systems the bytes are taken as they are.
std::filesystem::path PathFromUtf8(std::string_view text);

// The UTF-8 text of `path`. On POSIX systems the bytes are given back as they are.
std::string Utf8FromPath(const std::filesystem::path& path);

// The separator the system writes between the names of a path: '\\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// `folder` ending in a separator (on Windows either '\\' or '/' counts), so that a file name
// can be appended; an empty folder stays empty.
std::string WithTrailingSeparator(std::string folder);

}  // namespace tarvelo
