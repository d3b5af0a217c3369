#include "document/PictureRunSettings.h"

#include "geometry/ActiveTracking.h"

namespace tarvelo {

RunSettings SettingsForScan(const RunSettings& settings, const CisScanData& scan, const RollTypeDefinition& roll_type) {
  const PictureOrigin& picture = scan.Header.Picture;
  if (!picture.IsPicture) return settings;
  RunSettings run = settings;
  ScannerSettings& scanner = run.Scanner;
  if (picture.Dpi >= 1) {
    scanner.ScannerDPI = picture.Dpi;
    scanner.ScannerAlignStretch = 1.0;
    // The paper's middle where the roll type expects it: paper a little wider or narrower than
    // the roll type's (it swells and shrinks with the air) then lies evenly about its tracks.
    if (picture.PaperFirstPixel >= 0 && picture.PaperLastPixel > picture.PaperFirstPixel &&
        roll_type.UpperRollEdgeExpectedLocation > roll_type.LowerRollEdgeExpectedLocation) {
      const double expected_middle =
          (roll_type.LowerRollEdgeExpectedLocation + roll_type.UpperRollEdgeExpectedLocation) / 2;
      const double paper_middle = (picture.PaperFirstPixel + picture.PaperLastPixel + 1) / 2.0;
      scanner.ScannerOffset = expected_middle - paper_middle / picture.Dpi;
    }
  }
  scanner.ScanLightingMethod =
      picture.Polarity == HolePolarity::kEvenRuns ? kLightingReflective : kLightingTransmissive;
  scanner.ScannerModeType = kModeNoEncoding;
  scanner.ForceOldCisFormat = false;
  return run;
}

}  // namespace tarvelo
