// Fuzz target: any words as the command line's settings arguments (--set "Section/Key=Value",
// "settings set"), split at NUL bytes. Each is split and checked as the dialogs check it, and
// stored in a profile held in memory; nothing may crash, a value stored must read back as
// stored, and the words as the terminal shows them hold no control character.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "cli/VisibleText.h"
#include "settings/IniProfile.h"
#include "settings/SettingsCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  tarvelo::IniProfile profile;
  size_t start = 0;
  for (int words = 0; start <= input.size() && words < 64; ++words) {
    size_t end = input.find('\0', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string word(input.substr(start, end - start));
    start = end + 1;
    for (const char c : tarvelo::cli::VisibleText(word)) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) std::abort();
    }
    std::string section, key, value;
    if (!tarvelo::cli::SplitSettingName(word, section, key, &value)) continue;
    if (!tarvelo::SetSetting(profile, section, key, value).ok()) continue;
    const auto settings = tarvelo::EffectiveSettings(profile);
    if (!tarvelo::FindSetting(settings, section, key)) std::abort();
  }
  return 0;
}
