// Feeds arbitrary bytes to the CIS reader, with the old-format switch taken from the first
// byte, and checks what every reading must hold.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cis/CisReader.h"
#include "helpers/RecordingFrontEnd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  tarvelo::testing::RecordingFrontEnd reporter;
  reporter.record_status = false;
  const bool old_format_forced = (data[0] & 1) != 0;
  tarvelo::CisScanData scan;
  const tarvelo::Result result = tarvelo::ReadCisFile({data + 1, size - 1}, old_format_forced, scan, reporter);
  // A refusal is an error message and reads no lines; damaged lines are only warnings.
  if (!result.ok() && !scan.Lines.Empty()) std::abort();
  if (result.ok() && reporter.CountOf(tarvelo::MessageKind::kError) != 0) std::abort();
  if (result.ok()) {
    // Every stored line ends at or beyond the width, and transitions never decrease.
    for (int i = 0; i < scan.Lines.Size(); ++i) {
      const auto t = scan.Lines.Transitions(i);
      if (t.empty() || t.back() < scan.Header.ScanWidth) std::abort();
      for (size_t k = 1; k < t.size(); ++k)
        if (t[k] < t[k - 1]) std::abort();
    }
    if (scan.Header.LinesReadPlusTwo != scan.Lines.Size() + 2) std::abort();
  }
  return 0;
}
