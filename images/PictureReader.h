#pragma once
// Reads a picture of a roll (PNG, TIFF or JPEG, see PictureRows.h) into the scan lines a CIS
// file gives: each row becomes one line of runs of dark and light pixels (run 0 dark, as a CIS
// scanner's lines start), so that every later stage, the view and the diagnostics work on it
// unchanged. The picture is streamed: only a sample of its first rows is held decoded, to find
// the brightness that parts holes from paper before the rest is read.

#include <cstdint>
#include <string>

#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "settings/PictureSettings.h"
#include "support/Result.h"

namespace tarvelo {

// Pictures narrower than this cannot show a roll's tracks.
inline constexpr int32_t kMinPictureWidth = 32;
// The widest picture: a CIS file, which a picture can be saved as, holds at most this width.
inline constexpr int32_t kMaxPictureWidth = 32767;

// Reads `path` into `data` (its names are the caller's; every header value is set from the
// picture: width, rows, no twin array or bi-colour, title from the file name). `max_line_bytes`
// bounds the scan lines kept: a picture whose rows cannot fit is refused before it is decoded,
// one whose lines outgrow it is refused when they do. Fills data.Picture (threshold, which
// pixels are holes, the paper's edges, the stored DPI) and data.Run.Polarity; the DPI and the lines
// per inch are the caller's to settle (SettlePictureGeometry). Reports status and progress
// (colour type 1).
//   kNotFound / kIoError  the file cannot be read
//   kCorrupt  not a picture, a damaged or truncated one, no rows, narrower than
//             kMinPictureWidth or wider than kMaxPictureWidth, or too long for `max_line_bytes`
//             (message naming the file and the reason; no lines are kept)
//   kCancelled  stopped by the user
[[nodiscard]] Result ReadPictureFile(const std::string& path, const PictureSettings& settings, uint64_t max_line_bytes,
                                     CisScanData& data, Reporter& reporter);

}  // namespace tarvelo
