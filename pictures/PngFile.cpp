#include "pictures/PngFile.h"

#include <png.h>

#include <memory>

#include "support/AtomicFile.h"

namespace tarvelo {

Result EncodePng(const RgbImage& image, std::string& bytes) {
  bytes.clear();
  if (image.width <= 0 || image.height <= 0)
    return Result::Invalid("a picture of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                           " pixels cannot be written as PNG");
  png_image header{};
  header.version = PNG_IMAGE_VERSION;
  header.width = static_cast<png_uint_32>(image.width);
  header.height = static_cast<png_uint_32>(image.height);
  header.format = PNG_FORMAT_RGB;
  // The largest size the encoder may need; the file is cut to the size it reports.
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(header);
  auto buffer = std::make_unique_for_overwrite<uint8_t[]>(size);
  const bool written = png_image_write_to_memory(&header, buffer.get(), &size, 0, image.pixels.data(),
                                                 static_cast<png_int_32>(image.width) * 3, nullptr) != 0;
  if (!written) {
    const std::string reason = header.message;
    png_image_free(&header);
    return Result::Invalid("cannot encode a PNG picture: " + reason);
  }
  bytes.assign(reinterpret_cast<const char*>(buffer.get()), size);
  return Result::Ok();
}

Result WritePngFile(const std::string& path, const RgbImage& image) {
  std::string bytes;
  if (Result encoded = EncodePng(image, bytes); !encoded) return Result::Invalid(path + ": " + encoded.message());
  // A picture is made again by running the command again: a rename makes it whole, no flush needed.
  return WriteFileAtomically(path, bytes, Flush::kNo);
}

}  // namespace tarvelo
