#pragma once
// Reads a CIS file's header and scan line records into CisScanData, from the whole file at once
// (ReadCisFile) or from its bytes in pieces as they are read from the disk (CisReading). Both
// decode alike: the same lines, the same messages, the same outcome.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cis/CisFormat.h"
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
//   kCorrupt  shorter than a header (no message), or zero or negative scan width or line
//             count (reported as an error); no lines read
//   kCancelled  a stop request ended the reading early; `data` holds the lines read so far,
//             which are not the whole roll and must not be converted or saved
Result ReadCisFile(std::span<const uint8_t> bytes, bool old_format_forced, CisScanData& data, Reporter& reporter);

// One reading of a CIS file whose bytes arrive in pieces: Take each piece in the file's order,
// from its first byte, then Finish. The pieces may be of any size and split a header, a line or
// a record anywhere; the file's whole contents are never held, only its lines.
class CisReading {
 public:
  // `file_length` is the file's size as far as it is known before reading (it paces the
  // progress reports and sizes the line store); the bytes taken decide where the file ends.
  // Reports the status "Reading CIS file ".
  CisReading(uint64_t file_length, bool old_format_forced, CisScanData& data, Reporter& reporter);
  CisReading(const CisReading&) = delete;
  CisReading& operator=(const CisReading&) = delete;

  // Takes the next bytes of the file. Once the header is refused or the reading stopped, the
  // rest is passed over (IsEnded): a caller may stop reading, or read on for other purposes.
  void Take(std::span<const uint8_t> bytes);
  bool IsEnded() const { return ended_; }

  // Ends the reading: the lines go to `data`, and the outcome is ReadCisFile's for the bytes
  // taken. Called once.
  Result Finish();

 private:
  void TakeHeader(std::span<const uint8_t>& bytes);
  // Decodes `count` whole 16-bit words of the records that follow the header.
  void DecodeWords(const uint8_t* words, size_t count);
  // The progress report made before each run of a line is read (and once more where the file
  // ends before the run); false when a stop request ends the reading there.
  bool ReportProgress();

  CisScanData& data_;
  Reporter& reporter_;
  const bool old_format_forced_;
  const uint64_t expected_length_;
  std::string name_;  // the file as messages name it

  std::array<uint8_t, cis::kHeaderSize> header_{};
  uint64_t taken_ = 0;  // bytes taken so far, at most the 32-bit length a file can state
  bool header_read_ = false;
  bool ended_ = false;
  Result refusal_ = Result::Ok();

  // The lines are built in three plain arrays and handed to data_.Lines at the end.
  std::vector<int32_t> transitions_;
  std::vector<uint32_t> offsets_{0};
  std::vector<uint16_t> line_words_;

  // The decoding's state between pieces.
  uint8_t split_byte_ = 0;  // the first byte of a word the last piece ended inside
  bool word_split_ = false;
  bool awaiting_line_word_ = false;  // a run completed the line: its line word comes next
  bool stopped_ = false;
  int64_t width_ = 0;
  int64_t sum_ = 0;  // pixels of the line so far
  int32_t lines_read_ = 0;
  int32_t corrupt_ = 0;  // lines whose runs overran the width
  bool first_error_shown_ = false;
  uint64_t position_ = 50;  // file offset of the word just read
  int64_t progress_ = 0;    // progress steps taken (two per step)
  uint64_t step_ = 0;       // bytes per progress step
};

}  // namespace tarvelo
