#include "geometry/ScannerGeometry.h"

namespace tarvelo {

ScannerGeometry ReadScannerGeometry(const ScannerSettings& settings, Reporter& reporter) {
  ScannerGeometry scanner;
  scanner.Dpi = settings.ScannerDPI;
  scanner.Offset = settings.ScannerOffset;
  scanner.Stretch = settings.ScannerAlignStretch;
  if (scanner.Dpi < 1) {
    reporter.ShowMessageWithValue(
        MessageKind::kWarning,
        "Scanner Horizontal DPI of the current scanner preset is not positive; using 300 instead of it", scanner.Dpi);
    scanner.Dpi = 300;
  }
  if (!(scanner.Stretch > 0)) {
    reporter.ShowMessageWithValue(
        MessageKind::kWarning, "Stretch Factor of the current scanner preset is not positive; using 1.0 instead of it",
        scanner.Stretch);
    scanner.Stretch = 1.0;
  }
  return scanner;
}

}  // namespace tarvelo
