#include "align/PrepareScan.h"

#include "cis/CisFile.h"
#include "geometry/ActiveTracking.h"
#include "geometry/ScanLinePositions.h"
#include "geometry/ScannerGeometry.h"
#include "geometry/TwinArrayMerge.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeLibrary.h"

namespace tarvelo {

namespace {

// The preset's DPI, offset and stretch as the per-line pass takes them.
ScannerSetting PresetSetting(const RunSettings& settings, Reporter& reporter) {
  const ScannerGeometry scanner = ReadScannerGeometry(settings.Scanner, reporter);
  return ScannerSetting{scanner.Dpi, scanner.Offset, scanner.Stretch};
}

}  // namespace

Result PrepareScan(const std::string& path, const RunSettings& settings, Reporter& reporter, PreparedScan& out) {
  CisScanData& data = out.Data;
  CisOpenState state = CisOpenState::kNothingRead;
  const Result opened = OpenCisFile(path, settings.Scanner.ForceOldCisFormat, data, reporter, &state);
  if (!opened) return opened;
  PrepareLines(data, settings, reporter);
  out.Preset = PresetSetting(settings, reporter);
  return Result::Ok();
}

void PrepareOpenedScan(const CisScanData& opened, const RunSettings& settings, Reporter& reporter, PreparedScan& out) {
  out.Data = opened;
  out.Data.Lines = opened.LinesAsRead;
  out.Data.StartRun(settings.Scanner.ForceOldCisFormat);
  PrepareLines(out.Data, settings, reporter);
  out.Preset = PresetSetting(settings, reporter);
}

void PrepareLines(CisScanData& data, const RunSettings& settings, Reporter& reporter) {
  ComputeScanLinePositions(data, settings.Scanner, settings.Diagnostic, reporter);
  if (data.Run.TwinArray) MergeTwinArrays(data, settings.TwinArray, settings.Scanner, reporter);
  const int reversal = settings.Diagnostic.OverrideImageReversal;
  if ((reversal == DiagnosticSettings::kUseCisBit && data.Run.MirrorImage) ||
      reversal == DiagnosticSettings::kAlwaysReverse) {
    ReverseScanLines(data);
  }
}

ScanForAlignment AlignmentView(const CisScanData& data, int lighting_method) {
  ScanForAlignment view;
  view.Lines = &data.Lines;
  view.ImageFirst = 0;
  view.ImageLast = data.Run.ScanWidth;
  if (data.Run.ReverseImage) {
    // A bi-colour line carries the hole image in one half and an ink channel in the other;
    // mirroring swaps the halves.
    const int32_t half = data.Run.ScanWidth / 2;
    if (data.Run.ImageMirrored) {
      view.ImageFirst = data.Run.ScanWidth - half;
    } else {
      view.ImageLast = half;
    }
  }
  view.Polarity = DetectHolePolarity(data, lighting_method);
  view.HeaderDpi = data.Header.HorizontalDpi;
  if (data.Run.TwinArray) view.CrossoverPixel = data.Run.CrossoverPixel;
  return view;
}

std::vector<RollTypeDefinition> FillRollTypes(XmlDocument& library, const std::vector<std::string>& names,
                                              Reporter& reporter) {
  std::vector<RollTypeDefinition> types;
  for (const std::string& name : names) {
    if (name == kFailSafeRollTypeName) continue;
    types.emplace_back();
    ApplyActiveRollType(types.back(), name, library, reporter).Ignore();  // the name is one of the library's
  }
  return types;
}

}  // namespace tarvelo
