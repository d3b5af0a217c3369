#pragma once
// Opening a CIS file from a path: the names the program gives the file, the name check, and
// the file read in pieces into the reader and the checksum. Every front end and every tool
// that opens a scan goes through OpenCisFile.

#include <cstdint>
#include <string>

#include "cis/CisFileName.h"
#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "support/Result.h"

namespace tarvelo {

// How far an opening got.
enum class CisOpenState {
  kNothingRead,    // wrong type, unreadable, shorter than a header, or the reading was stopped
  kHeaderRefused,  // the header was read and refused (zero width or line count): no lines
  kNotAScan,       // header accepted, but hardly a scan line is well formed: not a scan to convert
  kRead,           // header accepted and lines read (damaged lines reported as warnings)
};

// The largest CIS file opened. A conversion holds about four times the file's size in memory
// (its lines, their per-line values and its holes), so a file larger than the limit is refused
// before it is read (kInvalid, naming the file, its size and the limit). 256 MB by default,
// ten times the longest roll scanned at 300 DPI; a front end sets another for the whole
// process before any file is opened.
inline constexpr uint64_t kDefaultMaxScanBytes = 256ull * 1024 * 1024;
void SetMaxScanBytes(uint64_t max_bytes);
uint64_t MaxScanBytes();

// Opens `path` into `data` (which is Reset first and gets the file's names): the extension
// must be "cis" in any case, the file must be readable and at least a header long, and the
// reader must accept its header. Every failure is reported as an error message and returned:
//   kInvalid  "*** Invalid File Type *** CIS files only - "
//   kNotFound / kIoError  the file cannot be read ("cannot open <path>: <reason>"), or is not
//             a regular file (a folder, a FIFO, a device)
//   kInvalid  the file is larger than MaxScanBytes()
//   kCorrupt  shorter than the header, a header the reader refused, or hardly a well-formed
//             line: none, or fewer than one in a hundred ("This is not a CIS scan: ...";
//             the lines read stay in `data`)
//   kCancelled  the user stopped the reading (no message; the lines are not usable)
// `state`, when given, receives how far the opening got.
Result OpenCisFile(const std::string& path, bool old_format_forced, CisScanData& data, Reporter& reporter,
                   CisOpenState* state = nullptr);

}  // namespace tarvelo
