#include "align/PrepareScan.h"

#include <filesystem>

#include "cis/CisReader.h"
#include "geometry/ActiveTracking.h"
#include "geometry/ScanLinePositions.h"
#include "geometry/ScannerGeometry.h"
#include "geometry/TwinArrayMerge.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeLibrary.h"
#include "support/AtomicFile.h"

namespace tarvelo {

Result PrepareScan(const std::string& path, UiServices& ui, PreparedScan& out) {
  CisScanData& data = out.Data;
  data.Reset();
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  data.FileName = name.substr(0, name.find('.'));
  data.FolderName = path.substr(0, path.size() - name.size());
  data.FileExtension = name.size() >= 3 ? name.substr(name.size() - 3) : name;

  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) return Result::IoError("cannot read " + path + ": " + error);
  std::string last_error;
  const CisReadResult read =
      ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, data, ui, last_error);
  if (read == CisReadResult::kTooShort)
    return Result::Corrupt(path + " is too short to be a CIS file: " + std::to_string(bytes.size()) + " bytes");
  if (read == CisReadResult::kRefused) return Result::Corrupt(path + ": " + last_error);
  std::string().swap(bytes);

  // The stages in the conversion's order, with the session's settings.
  ComputeScanLinePositions(data, ui);
  if (data.TwinArray) MergeTwinArrays(data, ui);
  const int reversal = ui.Settings().diagnostic.OverrideImageReversal;
  if ((reversal == DiagnosticSettings::kUseCisBit && data.MirrorImage) ||
      reversal == DiagnosticSettings::kAlwaysReverse) {
    ReverseScanLines(data);
  }
  const ScannerGeometry scanner = ReadScannerGeometry(ui);
  out.Preset = ScannerSetting{scanner.Dpi, scanner.Offset, scanner.Stretch};
  return Result::Ok();
}

Result LoadRollTypeLibrary(const std::string& path, UiServices& ui, std::vector<RollTypeDefinition>& types) {
  types.clear();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return Result::NotFound("no roll type library at " + path);
  XmlDocument library;
  std::vector<std::string> names;
  std::string loaded;
  if (!LoadRollTypeDefinitions({path}, library, names, ui, &loaded))
    return Result::Corrupt("cannot load the roll type library " + path);
  // names[0] is the built-in type.
  types.resize(names.size() - 1);
  for (size_t k = 1; k < names.size(); ++k) ApplyActiveRollType(types[k - 1], names[k], library, ui);
  return Result::Ok();
}

ScanForAlignment AlignmentView(const CisScanData& data, int lighting_method) {
  ScanForAlignment view;
  view.Lines = &data.Lines;
  view.ImageFirst = 0;
  view.ImageLast = data.ScanWidth;
  if (data.ReverseImage) {
    // A bi-colour line carries the hole image in one half and an ink channel in the other;
    // mirroring swaps the halves.
    const int32_t half = data.ScanWidth / 2;
    if (data.ImageMirrored) {
      view.ImageFirst = data.ScanWidth - half;
    } else {
      view.ImageLast = half;
    }
  }
  view.HolesAreEvenRuns = DetectHolePolarity(data, lighting_method) == 1;
  view.HeaderDpi = data.HorizontalDpi;
  if (data.TwinArray) view.CrossoverPixel = data.CrossoverPixel;
  return view;
}

}  // namespace tarvelo
