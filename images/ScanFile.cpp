#include "images/ScanFile.h"

#include <algorithm>
#include <cstdint>

#include "images/PictureGeometry.h"
#include "images/PictureReader.h"
#include "support/FileSha256.h"
#include "support/TextTrim.h"

namespace tarvelo {

namespace {

std::string LowerExtension(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string_view::npos ? "" : ToLowerAscii(name.substr(dot + 1));
}

std::string PictureSummary(const CisScanData& data) {
  const PictureOrigin& origin = data.Header.Picture;
  return "Picture " + data.Header.Names.Name + "." + data.Header.Names.Extension + ": " + origin.Format + ", " +
         std::to_string(origin.Width) + " x " + std::to_string(origin.Rows) + " pixels, " +
         std::to_string(origin.BitsPerSample) + "-bit; holes " + (origin.HolesLight ? "light" : "dark") +
         " (brightness threshold " + std::to_string(origin.Threshold) + "); " + origin.DpiNote + ", " +
         std::to_string(data.Header.LinesPerInch) + " lines per inch; played from its " +
         (origin.StartsAtBottom ? "bottom" : "top") + " row; tempo " + std::to_string(data.Header.Tempo) + " (" +
         origin.TempoSource + ").";
}

}  // namespace

bool IsPictureFileName(std::string_view path) {
  const std::string extension = LowerExtension(path);
  return extension == "png" || extension == "tif" || extension == "tiff" || extension == "jpg" || extension == "jpeg";
}

ScanOpenOptions ScanOpenOptionsFor(const RunSettings& settings, const RollTypeDefinition& roll_type) {
  ScanOpenOptions options;
  options.OldFormatForced = settings.Scanner.ForceOldCisFormat;
  options.Picture = settings.Picture;
  options.PaperWidth = roll_type.UpperRollEdgeExpectedLocation - roll_type.LowerRollEdgeExpectedLocation;
  options.PresetDpi = settings.Scanner.ScannerDPI >= 1 && settings.Scanner.ScannerDPI <= 32767
                          ? static_cast<int>(settings.Scanner.ScannerDPI)
                          : 300;
  return options;
}

Result OpenScanFile(const std::string& path, const ScanOpenOptions& options, CisScanData& data, Reporter& reporter,
                    CisOpenState* state) {
  if (!IsPictureFileName(path)) return OpenCisFile(path, options.OldFormatForced, data, reporter, state);
  if (state) *state = CisOpenState::kNothingRead;
  data.Reset();
  data.Header.Names = SplitCisFileName(path);
  data.Header.Names.Extension = LowerExtension(path);
  Result read = ReadPictureFile(path, options.Picture, MaxScanBytes(), data, reporter);
  if (!read.ok()) {
    data.Lines.Clear();
    data.Header.Picture = PictureOrigin{};
    if (read.kind() != Result::Kind::kCancelled) reporter.ShowMessage(MessageKind::kError, read.message());
    return read;
  }
  uint64_t length = 0;
  data.Header.FileSha256 = FileSha256(path, &length);
  data.Header.FileLength = static_cast<uint32_t>(std::min<uint64_t>(length, UINT32_MAX));
  SettlePictureGeometry(data, options.Picture, options.PaperWidth, options.PresetDpi, reporter);
  reporter.ShowMessage(MessageKind::kInformation, PictureSummary(data));
  if (state) *state = CisOpenState::kRead;
  return Result::Ok();
}

}  // namespace tarvelo
