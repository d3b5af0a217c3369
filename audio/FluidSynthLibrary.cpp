#include "audio/FluidSynthLibrary.h"

#include <mutex>

#ifdef TARVELO_FLUIDSYNTH_SONAME
#include <dlfcn.h>
#endif

namespace tarvelo {

namespace {

#ifdef TARVELO_FLUIDSYNTH_SONAME

// Opens the library and finds every function; on failure `reason` says what is missing. The
// library stays loaded until the process ends (FluidSynth keeps threads and state of its own).
bool Load(FluidSynthLibrary& library, std::string& reason) {
  void* handle = dlopen(TARVELO_FLUIDSYNTH_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* error = dlerror();
    reason = error != nullptr ? error : TARVELO_FLUIDSYNTH_SONAME " cannot be loaded";
    return false;
  }
  auto find = [&](auto& member, const char* name) {
    if (!reason.empty()) return;
    void* address = dlsym(handle, name);
    if (address == nullptr) {
      reason = std::string(TARVELO_FLUIDSYNTH_SONAME) + " has no function " + name;
      return;
    }
    member = reinterpret_cast<std::remove_reference_t<decltype(member)>>(address);
  };
#define TARVELO_FLUIDSYNTH_FIND(member, name) find(library.member, #name);
  TARVELO_FLUIDSYNTH_FUNCTIONS(TARVELO_FLUIDSYNTH_FIND)
#undef TARVELO_FLUIDSYNTH_FIND
  return reason.empty();
}

#else

bool Load(FluidSynthLibrary& library, std::string&) {
#define TARVELO_FLUIDSYNTH_LINKED(member, name) library.member = &::name;
  TARVELO_FLUIDSYNTH_FUNCTIONS(TARVELO_FLUIDSYNTH_LINKED)
#undef TARVELO_FLUIDSYNTH_LINKED
  return true;
}

#endif

}  // namespace

const FluidSynthLibrary* LoadFluidSynth(std::string& reason) {
  static FluidSynthLibrary library;
  static std::string failure;
  static bool loaded = false;
  static std::once_flag once;
  std::call_once(once, [] { loaded = Load(library, failure); });
  reason = failure;
  return loaded ? &library : nullptr;
}

}  // namespace tarvelo
