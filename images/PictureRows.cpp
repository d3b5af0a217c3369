#include "images/PictureRows.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "support/NativeFile.h"

#ifdef _WIN32
#include <io.h>
#define fdopen _fdopen
#else
#include <unistd.h>
#endif

namespace tarvelo {

PictureFormat SniffPictureFormat(const uint8_t* head, size_t size) {
  static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (size >= 8 && std::memcmp(head, kPng, 8) == 0) return PictureFormat::kPng;
  if (size >= 4 && ((head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
                    (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43))))
    return PictureFormat::kTiff;
  if (size >= 3 && head[0] == 0xff && head[1] == 0xd8 && head[2] == 0xff) return PictureFormat::kJpeg;
  return PictureFormat::kUnknown;
}

int PlausibleStoredDpi(double pixels_per_inch) {
  if (!std::isfinite(pixels_per_inch) || pixels_per_inch < 30 || pixels_per_inch > 4800) return 0;
  return static_cast<int>(std::lround(pixels_per_inch));
}

Result OpenPictureRows(const std::string& path, std::unique_ptr<PictureRows>& rows) {
  rows.reset();
  const int fd = OpenForReading(path);
  if (fd < 0) {
    const int error = errno;
    const std::string reason = "cannot open " + path + ": " + std::strerror(error);
    return error == ENOENT ? Result::NotFound(reason) : Result::IoError(reason);
  }
  std::uint64_t size = 0;
  if (!RegularFileSize(fd, size)) {
    ::close(fd);
    return Result::IoError("cannot read " + path + ": not a regular file");
  }
  std::FILE* file = fdopen(fd, "rb");
  if (!file) {
    ::close(fd);
    return Result::IoError("cannot read " + path + ": " + std::strerror(errno));
  }
  uint8_t head[8] = {};
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  switch (SniffPictureFormat(head, got)) {
    case PictureFormat::kPng:
      return OpenPngRows(file, path, rows);
    case PictureFormat::kJpeg:
      return OpenJpegRows(file, path, rows);
    case PictureFormat::kTiff:
      std::fclose(file);
      return OpenTiffRows(path, rows);
    case PictureFormat::kUnknown:
      break;
  }
  std::fclose(file);
  return Result::Corrupt("The file " + path + " is not a PNG, TIFF or JPEG picture" +
                         (got == 0 ? std::string(": it is empty") : std::string(" (its first bytes say otherwise)")));
}

}  // namespace tarvelo
