#include "cis/CisFile.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "cis/CisFormat.h"
#include "cis/CisReader.h"
#include "support/AtomicFile.h"
#include "support/Sha256.h"
#include "support/TextTrim.h"

namespace tarvelo {

namespace {
std::atomic<uint64_t> max_scan_bytes{kDefaultMaxScanBytes};
}  // namespace

void SetMaxScanBytes(uint64_t max_bytes) { max_scan_bytes.store(max_bytes); }

uint64_t MaxScanBytes() { return max_scan_bytes.load(); }

Result OpenCisFile(const std::string& path, bool old_format_forced, CisScanData& data, Reporter& reporter,
                   CisOpenState* state) {
  if (state) *state = CisOpenState::kNothingRead;
  data.Reset();
  data.Names = SplitCisFileName(path);
  const CisFileName& names = data.Names;
  auto fail = [&reporter](Result failure) {
    reporter.ShowMessage(MessageKind::kError, failure.message());
    return failure;
  };
  if (names.Extension != "cis") return fail(Result::Invalid("*** Invalid File Type *** CIS files only - "));

  std::string bytes;
  const uint64_t limit = std::min<uint64_t>(MaxScanBytes(), SIZE_MAX);
  if (Result read = ReadWholeFile(path, bytes, static_cast<size_t>(limit)); !read.ok()) return fail(read);
  data.FileSha256 = Sha256Hex(bytes);
  if (bytes.size() < cis::kHeaderSize) {
    return fail(Result::Corrupt("The file is too short to be a CIS file: " + std::to_string(bytes.size()) +
                                " bytes, the header alone takes 52."));
  }
  const auto* file = reinterpret_cast<const uint8_t*>(bytes.data());
  Result read = ReadCisFile({file, bytes.size()}, old_format_forced, data, reporter);
  if (state) {
    *state = read.ok()                                 ? CisOpenState::kRead
             : read.kind() == Result::Kind::kCancelled ? CisOpenState::kNothingRead
                                                       : CisOpenState::kHeaderRefused;
  }
  if (!read.ok()) return read;
  // A file whose lines overran the sensor width nearly all (or that ends before its first
  // line is complete) is some other file with a plausible header: converting it would pass
  // noise off as a roll. Noise completes a line exactly by chance now and then (about one
  // line in 50,000), so fewer than one well-formed line in a hundred counts as none.
  const int64_t lines = data.Lines.Size();
  const int64_t well_formed = lines - data.CorruptLineCount;
  if (well_formed * 100 < lines || lines == 0) {
    if (state) *state = CisOpenState::kNotAScan;
    const std::string reason = lines == 0 ? "the file holds no complete scan line after its header."
                               : well_formed <= 0
                                   ? "not one of its " + std::to_string(lines) + " scan lines is well formed."
                                   : "only " + std::to_string(well_formed) + " of its " + std::to_string(lines) +
                                         " scan lines are well formed.";
    return fail(Result::Corrupt("This is not a CIS scan: " + reason));
  }
  return read;
}

}  // namespace tarvelo
