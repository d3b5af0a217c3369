#include "audio/AlsaLibrary.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace tarvelo {

namespace {

void Discard(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void SilenceAlsaLibraryMessages() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(Discard); });
}

}  // namespace tarvelo
