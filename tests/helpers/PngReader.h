#pragma once
// Reads PNG files with an independent decoder: python3 with PIL (Debian: python3-pil), so
// that the program's own PNG encoder is checked by another implementation.

#include <string>

#include "support/RgbImage.h"

namespace tarvelo::testing {

// A python3 that can import PIL, quoted for the shell; empty when there is none.
std::string PythonWithPil();

// Decodes `path` into `image`. Fails, with the reason in `error`, when the reader is missing,
// the file does not decode, or it is not an 8-bit RGB PNG.
bool ReadPngWithPil(const std::string& path, RgbImage& image, std::string& error);

}  // namespace tarvelo::testing

// Skips the current test when no independent PNG reader is installed.
#define TARVELO_REQUIRE_PNG_READER()                                                                  \
  do {                                                                                                \
    if (::tarvelo::testing::PythonWithPil().empty()) GTEST_SKIP() << "no python3 with PIL installed"; \
  } while (0)
