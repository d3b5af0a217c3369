#pragma once
// Saves scan data as a CIS file: the header with the (possibly corrected) title, tempo and
// lines per inch, and every line as it was read, so that a file read and saved unchanged
// comes back byte for byte but for its title area (bytes 0..31), which is rewritten from the
// trimmed title padded with blanks.

#include <string>

#include "cis/CisScanData.h"
#include "support/Result.h"

namespace tarvelo {

// The file bytes for `data`: bytes 0..31 from Title (its first 32 bytes, blank padded; the
// same bytes are put into HeaderText), bytes 32..39 from HeaderText, the width as stated in
// the file (the header's ScanWidth halved for each type bit the reader applied), and
// ChangeoverPixel, Tempo, LinesPerInch, HeaderLineCount from the header, then every line of LinesAsRead as its run
// lengths followed by its line word.
//
// Refuses (kInvalid, with the reason) rather than produce a file that would read back
// differently: when the header was refused on reading (no lines were read, so saving would
// lose them), or when a line cannot be stored as 16-bit run lengths ending at the width.
Result EncodeCisFile(CisScanData& data, std::string& bytes);

// Encodes `data` and writes it to `path` atomically (an existing file is replaced only when
// the new one is complete). The failure's message names the path and the reason. A path ending
// in a picture's extension (.png, .tif, .tiff, .jpg, .jpeg) is refused (kInvalid): a scan read
// from a picture is saved as a CIS file beside it, never over it.
Result WriteCisFile(CisScanData& data, const std::string& path);

}  // namespace tarvelo
