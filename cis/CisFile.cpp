#include "cis/CisFile.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "cis/CisFormat.h"
#include "cis/CisReader.h"
#include "support/FileReader.h"
#include "support/Sha256.h"
#include "support/TextTrim.h"

namespace tarvelo {

namespace {
std::atomic<uint64_t> max_scan_bytes{kDefaultMaxScanBytes};
// The size of the pieces a scan is read in: small beside a scan's lines, large enough that
// the system calls cost nothing.
constexpr uint64_t kReadPieceBytes = 256 * 1024;
}  // namespace

void SetMaxScanBytes(uint64_t max_bytes) { max_scan_bytes.store(max_bytes); }

uint64_t MaxScanBytes() { return max_scan_bytes.load(); }

Result OpenCisFile(const std::string& path, bool old_format_forced, CisScanData& data, Reporter& reporter,
                   CisOpenState* state) {
  if (state) *state = CisOpenState::kNothingRead;
  const CisFileName names = SplitCisFileName(path);
  // The data as before anything is read: the file's names only.
  const auto start_afresh = [&data, &names] {
    data.Reset();
    data.Header.Names = names;
  };
  start_afresh();
  auto fail = [&reporter](Result failure) {
    reporter.ShowMessage(MessageKind::kError, failure.message());
    return failure;
  };
  if (names.Extension != "cis") return fail(Result::Invalid("*** Invalid File Type *** CIS files only - "));

  FileReader file;
  const uint64_t limit = std::min<uint64_t>(MaxScanBytes(), SIZE_MAX);
  if (Result opened = file.Open(path, static_cast<size_t>(limit)); !opened.ok()) return fail(opened);
  // The file is read in pieces straight into its lines and its checksum; its whole contents
  // are never held. The first piece holds the header (unless the file is shorter).
  std::vector<uint8_t> piece(static_cast<size_t>(std::min<uint64_t>(file.Size(), kReadPieceBytes)));
  size_t got = 0;
  if (Result first = file.Read(piece, got); !first.ok()) return fail(first);
  if (got < cis::kHeaderSize) {
    data.Header.FileSha256 = Sha256Hex({reinterpret_cast<const char*>(piece.data()), got});
    return fail(Result::Corrupt("The file is too short to be a CIS file: " + std::to_string(got) +
                                " bytes, the header alone takes 52."));
  }
  Sha256 checksum;
  CisReading reading(file.Size(), old_format_forced, data, reporter);
  // A refused header or a stopped reading takes no more lines, but the checksum is of the
  // whole file whatever happens to its lines.
  while (got > 0) {
    checksum.Update(piece.data(), got);
    reading.Take({piece.data(), got});
    if (got < piece.size()) break;
    if (Result next = file.Read(piece, got); !next.ok()) {
      start_afresh();  // a file that cannot be read to its end is not read at all
      return fail(next);
    }
  }
  data.Header.FileSha256 = checksum.HexDigest();
  Result read = reading.Finish();
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
  const int64_t well_formed = lines - data.Header.CorruptLineCount;
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
