#pragma once
// Everything read from one CIS file: the header values (after the reader's corrections),
// the working scan lines every stage reads and changes, the pristine lines as read, and
// the values computed from them. The document owns one.

#include <cstdint>
#include <string>
#include <vector>

#include "cis/CisFileName.h"
#include "cis/HolePolarity.h"
#include "cis/PaperSpan.h"
#include "cis/PictureOrigin.h"
#include "cis/ScanLineArray.h"

namespace tarvelo {

struct CisScanData {
  CisScanData() { Reset(); }

  // Every field with a reset value gets it and both line arrays are emptied. The file's names,
  // the header text and the other raw header values keep their contents until the next read.
  void Reset() {
    SavedReverseImage = false;
    SavedTwinArray = false;
    SavedMirrorImage = false;
    ImageMirrored = false;
    ReverseImage = false;
    MirrorImage = false;
    CrossoverPixel = 0;
    ArraySeparation = 0;
    TwinArray = false;
    InterpretedAverageLpi = 100.0;
    Polarity = HolePolarity::kEvenRuns;
    CorruptLineCount = 0;
    Lines.Clear();
    LinesAsRead.Clear();
    PaperOnLines.clear();
    Title.clear();
    FileSha256.clear();
    ChangeoverPixel = 0;
    HorizontalDpi = 0;
    HeaderLineCount = 0;
    LinesPerInch = 100;
    Tempo = 100;
    ScanWidth = 3000;
    SavedScanWidth = 3000;
    Picture = PictureOrigin{};
  }

  // After reading: the lines as read become the pristine copy every run starts from (Lines
  // keeps its contents, sharing them), and the header flags each run restores are saved.
  void KeepAsRead() {
    LinesAsRead = Lines;
    SavedScanWidth = ScanWidth;
    SavedTwinArray = TwinArray;
    SavedReverseImage = ReverseImage;
    SavedMirrorImage = MirrorImage;
  }

  // Before a run: the header flags and the width back as KeepAsRead saved them (the lines are
  // the caller's to restore). Reading in the old format, forced, knows none of the type bits.
  void RestoreFlagsAsRead(bool old_format_forced) {
    PaperOnLines.clear();  // a run measures the paper anew
    ImageMirrored = false;
    ReverseImage = SavedReverseImage;
    ScanWidth = SavedScanWidth;
    TwinArray = SavedTwinArray;
    MirrorImage = SavedMirrorImage;
    if (old_format_forced) {
      TwinArray = false;
      ReverseImage = false;
      MirrorImage = false;
    }
  }

  bool SavedReverseImage = false;
  bool SavedTwinArray = false;
  // Copy of MirrorImage taken when the file was read; each run restores from it.
  bool SavedMirrorImage = false;
  bool ImageMirrored = false;  // the lines have been mirrored left to right
  bool ReverseImage = false;   // header byte 34 bit 0x40 (a bi-colour scan: the width is doubled)
  // Header byte 35 bit 0x10: the scan was made with treble and bass reversed.
  bool MirrorImage = false;
  int32_t CrossoverPixel = 0;
  int32_t ArraySeparation = 0;
  bool TwinArray = false;  // header byte 34 bit 0x20: twin-array ("Dual") scanner
  double InterpretedAverageLpi = 100.0;
  HolePolarity Polarity = HolePolarity::kEvenRuns;  // which runs are holes (found by the per-line pass)
  // Where the paper lies on each line of Lines, when the run converts with the values its
  // measurement of the scan found (Auto-Tweak, alignment); empty otherwise, and then every
  // run of hole colour may be a hole.
  std::vector<PaperSpan> PaperOnLines;
  PaperSpan PaperOn(int line) const {
    return line >= 0 && static_cast<size_t>(line) < PaperOnLines.size() ? PaperOnLines[static_cast<size_t>(line)]
                                                                        : PaperSpan{};
  }
  // The file's names, split from its path by the opening (messages and every file beside the
  // scan are named from them).
  CisFileName Names;
  int16_t RawLinesPerInch = 0;
  int16_t RawTempo = 0;  // the header's tempo as stored (Tempo is the one used)
  int32_t LinesReadPlusTwo = 0;
  int32_t CorruptLineCount = 0;  // lines whose runs overran the scan width (kept as read)
  uint32_t FileLength = 0;
  // The SHA-256 of the file's bytes as opened (64 lower-case hexadecimal digits), the name an
  // archive cites the scan by; "" when the file could not be read.
  std::string FileSha256;
  int32_t EncoderExponent = 0;
  int32_t ScannerType = 0;
  std::string HeaderText;  // header bytes 0..39 as read
  ScanLineArray Lines;
  ScanLineArray LinesAsRead;
  std::string Title;
  int16_t ChangeoverPixel = 0;
  // Header bytes 38-39 as read: the DPI the scanner says it used across the roll. Only
  // informational (conversions use the preset's DPI); 0 in the old format, where those bytes
  // may be title text. May be 0 or absurd in any file.
  int16_t HorizontalDpi = 0;
  int32_t HeaderLineCount = 0;
  int16_t LinesPerInch = 100;
  int16_t Tempo = 100;
  // Pixels per scan line: the stated width, doubled for each of the twin-array and bi-colour bits.
  // Held in 32 bits so that a doubled width cannot wrap round.
  int32_t ScanWidth = 3000;
  int32_t SavedScanWidth = 3000;
  // The lines were read from a picture, not a CIS file: what the reader found (empty otherwise).
  PictureOrigin Picture;
};

}  // namespace tarvelo
