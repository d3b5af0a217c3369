#pragma once
// Pictures as PNG files: 8-bit RGB, written whole or not at all.

#include <string>

#include "support/Result.h"
#include "support/RgbImage.h"

namespace tarvelo {

// The PNG file of `image` in `bytes`. Fails (kInvalid) for an image without pixels, which a
// PNG cannot hold, or when the encoder reports a problem.
Result EncodePng(const RgbImage& image, std::string& bytes);

// Writes `image` to `path` as a PNG file through a temporary file beside it, renamed over
// `path` only when complete: on failure no file or an untouched old one is left, and the
// message names the path and the reason.
Result WritePngFile(const std::string& path, const RgbImage& image);

}  // namespace tarvelo
