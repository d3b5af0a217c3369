#include "document/PictureRunSettings.h"

#include "geometry/ActiveTracking.h"

namespace tarvelo {

RunSettings SettingsForScan(const RunSettings& settings, const CisScanData& scan, const RollTypeDefinition& roll_type) {
  const PictureOrigin& picture = scan.Picture;
  if (!picture.IsPicture) return settings;
  RunSettings run = settings;
  ScannerSettings& scanner = run.Scanner;
  if (picture.Dpi >= 1) {
    scanner.ScannerDPI = picture.Dpi;
    scanner.ScannerAlignStretch = 1.0;
    if (picture.PaperFirstPixel >= 0 &&
        roll_type.UpperRollEdgeExpectedLocation > roll_type.LowerRollEdgeExpectedLocation) {
      scanner.ScannerOffset =
          roll_type.LowerRollEdgeExpectedLocation - static_cast<double>(picture.PaperFirstPixel) / picture.Dpi;
    }
  }
  scanner.ScanLightingMethod =
      picture.Polarity == HolePolarity::kEvenRuns ? kLightingReflective : kLightingTransmissive;
  scanner.ScannerModeType = kModeNoEncoding;
  scanner.ForceOldCisFormat = false;
  return run;
}

}  // namespace tarvelo
