#pragma once
// What the opening of one scan found: the header values (after the reader's corrections), the
// file's names, length and checksum, and for a picture what its reader found. Written only by
// the opening (OpenCisFile, ReadPictureFile and SettlePictureGeometry) and by the header edits
// (CisHeaderEdit, the document's title, tempo and lines-per-inch changes); every stage of a run
// only reads it. The run's own copies of the flags and the width are in ScanRunState.

#include <cstdint>
#include <string>

#include "cis/CisFileName.h"
#include "cis/PictureOrigin.h"

namespace tarvelo {

struct CisHeader {
  // The file's names, split from its path by the opening (messages and every file beside the
  // scan are named from them).
  CisFileName Names;
  std::string HeaderText;  // header bytes 0..39 as read
  std::string Title;
  int32_t ScannerType = 0;
  int32_t EncoderExponent = 0;
  // Pixels per scan line: the stated width, doubled for each of the twin-array and bi-colour bits.
  // Held in 32 bits so that a doubled width cannot wrap round.
  int32_t ScanWidth = 3000;
  bool TwinArray = false;     // header byte 34 bit 0x20: twin-array ("Dual") scanner
  bool ReverseImage = false;  // header byte 34 bit 0x40 (a bi-colour scan: the width is doubled)
  // Header byte 35 bit 0x10: the scan was made with treble and bass reversed.
  bool MirrorImage = false;
  int32_t ArraySeparation = 0;
  int16_t ChangeoverPixel = 0;
  // Header bytes 38-39 as read: the DPI the scanner says it used across the roll. Only
  // informational (conversions use the preset's DPI); 0 in the old format, where those bytes
  // may be title text. May be 0 or absurd in any file.
  int16_t HorizontalDpi = 0;
  int32_t HeaderLineCount = 0;
  int16_t RawLinesPerInch = 0;
  int16_t RawTempo = 0;  // the header's tempo as stored (Tempo is the one used)
  int16_t LinesPerInch = 100;
  int16_t Tempo = 100;
  int32_t LinesReadPlusTwo = 0;
  int32_t CorruptLineCount = 0;  // lines whose runs overran the scan width (kept as read)
  uint32_t FileLength = 0;
  // The SHA-256 of the file's bytes as opened (64 lower-case hexadecimal digits), the name an
  // archive cites the scan by; "" when the file could not be read.
  std::string FileSha256;
  // The lines were read from a picture, not a CIS file: what the reader found (empty otherwise).
  PictureOrigin Picture;
};

}  // namespace tarvelo
