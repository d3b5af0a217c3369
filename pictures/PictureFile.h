#pragma once
// A drawn picture as a PNG file: the raster with its texts written on it.

#include <string>

#include "pictures/LabelFont.h"
#include "support/Picture.h"
#include "support/Result.h"

namespace tarvelo {

// Writes `picture`'s raster with its labels drawn in `font` to `path` (see WritePngFile: whole
// or not at all). `picture` itself is not changed.
Result WritePictureFile(const std::string& path, const Picture& picture, const LabelFont& font);

}  // namespace tarvelo
