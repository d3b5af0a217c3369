#include "audio/SoundFontFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "support/Utf8Path.h"

namespace tarvelo {

std::string ChooseSoundFont(const std::string& named, const std::string& setting) {
  if (!named.empty()) return named;
  if (!setting.empty()) return setting;
  return kInstalledSoundFont;
}

Result CheckSoundFont(const std::string& path) {
  const std::string hint = path == kInstalledSoundFont
                               ? " (install the package timgm6mb-soundfont, or name another with --soundfont or the "
                                 "setting \"Audio Settings/SoundFont\")"
                               : "";
  const std::filesystem::path file = PathFromUtf8(path);
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return Result::NotFound("no SoundFont file " + path + hint);
  if (std::filesystem::is_directory(file, error)) return Result::Invalid("the SoundFont " + path + " is a folder");
  std::ifstream stream(file, std::ios::binary);
  char head[12] = {};
  if (!stream) return Result::IoError("cannot read the SoundFont " + path + ": " + std::strerror(errno) + hint);
  if (!stream.read(head, sizeof head) || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "sfbk", 4) != 0) {
    return Result::Invalid(path + " is not a SoundFont (SoundFont 2 files begin with RIFF and sfbk)");
  }
  return Result::Ok();
}

}  // namespace tarvelo
