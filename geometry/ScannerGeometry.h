#pragma once
// The live scanner values that place sensor pixels across the roll: horizontal DPI, the
// offset of pixel 0 (inches of roll) and the stretch factor, read once per conversion run.

#include "services/Reporter.h"
#include "settings/ScannerPresets.h"

namespace tarvelo {

struct ScannerGeometry {
  int Dpi = 300;
  double Offset = 0;  // inches of roll at pixel 0
  double Stretch = 1.0;
  // Sensor pixels per inch of roll.
  double PixelsPerInch() const { return Dpi / Stretch; }
};

// The values a conversion uses for `settings`, without a word: the preset's, with 300 for a
// DPI below 1 and 1.0 for a stretch that is not positive.
ScannerGeometry UsableScannerGeometry(const ScannerSettings& settings);

// Reads the current preset's values. Presets are not range-checked when loaded; a DPI or a
// stretch that is not positive would divide by zero or turn the roll round, so the default
// (300, 1.0) stands in for it, with a warning.
ScannerGeometry ReadScannerGeometry(const ScannerSettings& settings, Reporter& reporter);

}  // namespace tarvelo
