#include "support/Console.h"

#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "support/WindowsApi.h"
#else
#include <unistd.h>
#endif

namespace tarvelo {

#ifdef _WIN32

bool IsTerminal(std::FILE* stream) {
  // _isatty is also true for the NUL device; only a console has a console mode.
  const intptr_t handle = _get_osfhandle(_fileno(stream));
  DWORD mode = 0;
  return handle != -1 && GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode) != 0;
}

namespace {

UINT console_code_page = 0;  // the console's code page before the program changed it

void RestoreConsoleCodePage() { SetConsoleOutputCP(console_code_page); }

}  // namespace

void UseUtf8StandardStreams() {
  std::fflush(stdout);
  std::fflush(stderr);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // The code page belongs to the console, which outlives the program: it is given back at exit.
  console_code_page = GetConsoleOutputCP();
  if (console_code_page != 0 && console_code_page != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
    std::atexit(RestoreConsoleCodePage);
}

#else

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

void UseUtf8StandardStreams() {}

#endif

}  // namespace tarvelo
