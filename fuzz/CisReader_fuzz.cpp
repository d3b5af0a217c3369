// Feeds arbitrary bytes to the CIS reader, with the old-format switch taken from the first
// byte, and checks what every reading must hold.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cis/CisReader.h"
#include "settings/IniProfile.h"
#include "settings/SessionSettings.h"
#include "NullUi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  tarvelo::IniProfile profile;
  profile.WriteProfileInt("Scanner Settings", "ForceOldCisFormat0", data[0] & 1);
  tarvelo::SessionSettings settings(profile);
  tarvelo::fuzzing::NullUi ui(settings);
  tarvelo::CisScanData scan;
  std::string error;
  const auto result = tarvelo::ReadCisFile({data + 1, size - 1}, scan, ui, error);
  if (result == tarvelo::CisReadResult::kRead) {
    // Every stored line ends at or beyond the width, and transitions never decrease.
    for (int i = 0; i < scan.Lines.Size(); ++i) {
      const auto t = scan.Lines.Transitions(i);
      if (t.empty() || t.back() < scan.ScanWidth) std::abort();
      for (size_t k = 1; k < t.size(); ++k)
        if (t[k] < t[k - 1]) std::abort();
    }
    if (scan.LinesReadPlusTwo != scan.Lines.Size() + 2) std::abort();
  }
  return 0;
}
