// Feeds arbitrary bytes to the picture reader as a PNG, TIFF or JPEG file (by the first byte),
// and checks what every reading must hold: a refusal is one error message and keeps no lines;
// a picture read gives one well-formed line per row.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "helpers/RecordingFrontEnd.h"
#include "images/ScanFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const kExtensions[] = {".png", ".tif", ".jpg"};
  const std::string path = "/tmp/tarvelo_picture_fuzz_" + std::to_string(getpid()) + kExtensions[data[0] % 3];
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(data + 1, 1, size - 1, file);
  std::fclose(file);

  tarvelo::testing::RecordingFrontEnd reporter;
  reporter.record_status = false;
  tarvelo::CisScanData scan;
  tarvelo::ScanOpenOptions options;
  options.Picture.PictureHoles = data[0] / 3 % 3;
  // Pictures whose lines would outgrow 64 MB are refused, so that the fuzzer's memory stays low.
  tarvelo::SetMaxScanBytes(64ull * 1024 * 1024);
  const tarvelo::Result result = tarvelo::OpenScanFile(path, options, scan, reporter);
  std::remove(path.c_str());
  if (!result.ok()) {
    if (!scan.Lines.Empty() || reporter.CountOf(tarvelo::MessageKind::kError) != 1) std::abort();
    return 0;
  }
  if (reporter.CountOf(tarvelo::MessageKind::kError) != 0) std::abort();
  if (scan.Lines.Size() != scan.Header.HeaderLineCount) std::abort();
  for (int i = 0; i < scan.Lines.Size(); ++i) {
    const auto t = scan.Lines.Transitions(i);
    if (t.empty() || t.back() != scan.Header.ScanWidth) std::abort();
    for (size_t k = 1; k < t.size(); ++k)
      if (t[k] <= t[k - 1]) std::abort();
  }
  return 0;
}
