// Parses arbitrary text as a profile; whatever it reads must save and read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/IniProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarvelo::IniProfile profile;
  profile.LoadFromText({reinterpret_cast<const char*>(data), size});
  const std::string saved = profile.ToText();
  tarvelo::IniProfile again;
  again.LoadFromText(saved);
  const auto a = profile.Entries();
  const auto b = again.Entries();
  if (a.size() != b.size()) std::abort();
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].value != b[i].value || a[i].key != b[i].key) std::abort();
  return 0;
}
