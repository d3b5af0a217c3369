#pragma once
// windows.h for the few files that call the Windows API, without the macros that collide with
// the program's own names: min and max, and the old INI-file calls whose names the profile's
// operations share (GetProfileInt, GetProfileString, WriteProfileString). Include it instead of
// windows.h, and only in .cpp files.

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString

#endif  // _WIN32
