#include "geometry/ScannerGeometry.h"

namespace tarvelo {

ScannerGeometry UsableScannerGeometry(const ScannerSettings& settings) {
  ScannerGeometry scanner;
  // The DPI as the pixel arithmetic holds it (an int); a value below 1 would divide by zero.
  const int dpi = static_cast<int>(settings.ScannerDPI);
  scanner.Dpi = dpi < 1 ? 300 : dpi;
  scanner.Offset = settings.ScannerOffset;
  scanner.Stretch = settings.ScannerAlignStretch > 0 ? settings.ScannerAlignStretch : 1.0;
  return scanner;
}

ScannerGeometry ReadScannerGeometry(const ScannerSettings& settings, Reporter& reporter) {
  const int dpi = static_cast<int>(settings.ScannerDPI);
  if (dpi < 1) {
    reporter.ShowMessageWithValue(
        MessageKind::kWarning,
        "Scanner Horizontal DPI of the current scanner preset is not positive; using 300 instead of it", dpi);
  }
  if (!(settings.ScannerAlignStretch > 0)) {
    reporter.ShowMessageWithValue(
        MessageKind::kWarning, "Stretch Factor of the current scanner preset is not positive; using 1.0 instead of it",
        settings.ScannerAlignStretch);
  }
  return UsableScannerGeometry(settings);
}

}  // namespace tarvelo
