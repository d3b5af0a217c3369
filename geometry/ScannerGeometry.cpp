#include "geometry/ScannerGeometry.h"

namespace tarvelo {

ScannerGeometry ReadScannerGeometry(UiServices& ui) {
  ScannerGeometry scanner;
  scanner.Dpi = ui.GetScannerDpi();
  scanner.Offset = ui.GetScannerOffset();
  scanner.Stretch = ui.GetScannerStretch();
  if (scanner.Dpi < 1) {
    ui.ShowMessageWithValue("Scanner Horizontal DPI of the current scanner preset is not positive; using 300 instead of it",
                            scanner.Dpi);
    scanner.Dpi = 300;
  }
  if (!(scanner.Stretch > 0)) {
    ui.ShowMessageWithValue("Stretch Factor of the current scanner preset is not positive; using 1.0 instead of it",
                            scanner.Stretch);
    scanner.Stretch = 1.0;
  }
  return scanner;
}

}  // namespace tarvelo
