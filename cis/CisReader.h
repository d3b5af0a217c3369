#pragma once
// Reads a CIS file's header and scan line records into CisScanData.

#include <cstdint>
#include <span>
#include <string>

#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "support/Result.h"

namespace tarvelo {

// Reads `bytes` (the whole file, at least a header long: cis::kHeaderSize) into `data`, whose
// FileName and FileExtension name the file in messages. With `old_format_forced` the type
// bits of the header are not interpreted. Reports status and progress (colour type 1).
//   ok        header accepted and lines read; damaged lines are kept as read and reported
//             in warnings, and so is a number of lines other than the header states ("The
//             file ends after N of M scan lines" when the file ends early; a longer file is
//             read to its end)
//   kCorrupt  zero or negative scan width or line count: reported as an error, no lines read
//   kCancelled  a stop request ended the reading early; `data` holds the lines read so far,
//             which are not the whole roll and must not be converted or saved
Result ReadCisFile(std::span<const uint8_t> bytes, bool old_format_forced, CisScanData& data, Reporter& reporter);

}  // namespace tarvelo
