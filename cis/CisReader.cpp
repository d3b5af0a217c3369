#include "cis/CisReader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "cis/CisFormat.h"
#include "support/TextTrim.h"

namespace tarvelo {

namespace {

std::string TitleFromHeader(const std::string& header) {
  return std::string(TrimWhiteSpace(std::string_view(header).substr(0, header.find('\0'))));
}

// Reads the header fields and applies the type bits and corrections.
void ReadHeader(const uint8_t* bytes, bool old_format_forced, CisHeader& header) {
  header.HeaderText.assign(reinterpret_cast<const char*>(bytes), cis::kHeaderTextSize);
  header.Title = TitleFromHeader(header.HeaderText);
  header.ScannerType = bytes[cis::kScannerTypeOffset] & cis::kTypeMask;
  header.EncoderExponent = bytes[cis::kEncoderOffset] & cis::kEncoderExponentMask;

  header.ScanWidth = cis::ReadI16(bytes + cis::kScanWidthOffset);
  header.TwinArray = false;
  header.ReverseImage = false;
  header.MirrorImage = false;
  header.HorizontalDpi = 0;
  if (!old_format_forced) {
    header.HorizontalDpi = cis::ReadI16(bytes + cis::kHorizontalDpiOffset);
    const uint8_t type = bytes[cis::kScannerTypeOffset];
    if (type & cis::kTwinArrayBit) {
      header.ScanWidth *= 2;
      header.TwinArray = true;
      header.ArraySeparation = cis::ReadI16(bytes + cis::kArraySeparationOffset);
    }
    if (type & cis::kBiColourBit) {
      header.ReverseImage = true;
      header.ScanWidth *= 2;
    }
    header.MirrorImage = (bytes[cis::kEncoderOffset] & cis::kMirrorImageBit) != 0;
  }

  header.ChangeoverPixel = cis::ReadI16(bytes + cis::kChangeoverOffset);
  const int16_t tempo = cis::ReadI16(bytes + cis::kTempoOffset);
  const int16_t lines_per_inch = cis::ReadI16(bytes + cis::kLinesPerInchOffset);
  header.HeaderLineCount = cis::ReadI32(bytes + cis::kLineCountOffset);

  header.RawLinesPerInch = lines_per_inch;
  header.RawTempo = tempo;
  header.LinesPerInch = lines_per_inch < 1 ? int16_t{100} : lines_per_inch;
  header.Tempo = (tempo < 10 || tempo > 500) ? int16_t{100} : tempo;
}

// A scanner writes exactly the line count it states, so a difference means the file was cut
// short (a copy that stopped, a damaged disk) or its header is damaged (a wrong count, or type
// bits that change the width and so the way every record is read). Either way the result is
// doubtful and the user must hear of it; what was read is still converted.
void ReportLineCountMismatch(int32_t lines_read, int32_t stated, Reporter& reporter) {
  if (lines_read < stated) {
    reporter.ShowMessage(MessageKind::kWarning, "The file ends after " + std::to_string(lines_read) + " of " +
                                                    std::to_string(stated) + " scan lines");
  } else if (lines_read > stated) {
    reporter.ShowMessage(MessageKind::kWarning, "The file holds " + std::to_string(lines_read) +
                                                    " scan lines, more than the " + std::to_string(stated) +
                                                    " its header states; every line was read");
  }
}

}  // namespace

Result ReadCisFile(std::span<const uint8_t> bytes, bool old_format_forced, CisScanData& data, Reporter& reporter) {
  CisReading reading(bytes.size(), old_format_forced, data, reporter);
  reading.Take(bytes);
  return reading.Finish();
}

CisReading::CisReading(uint64_t file_length, bool old_format_forced, CisScanData& data, Reporter& reporter)
    : data_(data),
      reporter_(reporter),
      old_format_forced_(old_format_forced),
      // Files beyond 4 GB cannot be described by the 32-bit length; such a file is read as far
      // as the length reaches.
      expected_length_(std::min<uint64_t>(file_length, UINT32_MAX)),
      name_(data.Header.Names.Name + "." + data.Header.Names.Extension) {
  reporter_.SetStatusText("Reading CIS file ");
}

void CisReading::Take(std::span<const uint8_t> bytes) {
  bytes = bytes.first(static_cast<size_t>(std::min<uint64_t>(bytes.size(), UINT32_MAX - taken_)));
  if (!header_read_) {
    TakeHeader(bytes);
    if (!header_read_) return;
  }
  taken_ += bytes.size();  // the file's length counts every byte, decoded or not
  if (ended_) return;
  if (word_split_ && !bytes.empty()) {
    const uint8_t word[2] = {split_byte_, bytes[0]};
    word_split_ = false;
    bytes = bytes.subspan(1);
    DecodeWords(word, 1);
    if (ended_) return;
  }
  DecodeWords(bytes.data(), bytes.size() / 2);
  if (bytes.size() % 2 != 0 && !ended_) {
    split_byte_ = bytes.back();
    word_split_ = true;
  }
}

void CisReading::TakeHeader(std::span<const uint8_t>& bytes) {
  const size_t wanted = std::min(bytes.size(), header_.size() - static_cast<size_t>(taken_));
  std::copy_n(bytes.begin(), wanted, header_.begin() + static_cast<std::ptrdiff_t>(taken_));
  taken_ += wanted;
  bytes = bytes.subspan(wanted);
  if (taken_ < header_.size()) return;
  header_read_ = true;
  ReadHeader(header_.data(), old_format_forced_, data_.Header);
  data_.StartRun(old_format_forced_);  // until a run changes them, the run's flags are the header's

  const char* refusal = data_.Header.ScanWidth < 1         ? "*** Invalid Scanner Width in File *** "
                        : data_.Header.HeaderLineCount < 1 ? "*** Invalid Scan Line Count in File *** "
                                                           : nullptr;
  if (refusal) {
    reporter_.ShowMessage(MessageKind::kError, refusal);
    refusal_ = Result::Corrupt(refusal);
    ended_ = true;
    return;
  }

  // Every word after the header is at most one transition, and a line takes at least two
  // words; the stated line count is believed only as far as the file can hold it.
  width_ = data_.Header.ScanWidth;
  step_ = expected_length_ / 50;
  const size_t words =
      static_cast<size_t>(std::max<uint64_t>(expected_length_, cis::kHeaderSize) - cis::kHeaderSize) / 2;
  const size_t expected_lines = std::min<size_t>(static_cast<size_t>(data_.Header.HeaderLineCount), words / 2);
  transitions_.reserve(words);
  offsets_.reserve(expected_lines + 1);
  line_words_.reserve(expected_lines);
}

bool CisReading::ReportProgress() {
  if (position_ <= static_cast<uint64_t>(progress_) * step_) return true;
  progress_ += 2;
  reporter_.SetStatusText("Reading CIS Line = " + std::to_string(lines_read_));
  reporter_.SetProgress(kProgressReading, static_cast<int>(2 * progress_));
  if (!reporter_.IsCancelled()) return true;
  stopped_ = true;
  ended_ = true;
  return false;
}

void CisReading::DecodeWords(const uint8_t* words, size_t count) {
  // The state is worked on in locals: the stores into the line arrays cannot then be taken
  // to change it.
  int64_t sum = sum_;
  uint64_t position = position_;
  const int64_t width = width_;
  bool awaiting_line_word = awaiting_line_word_;
  uint64_t report_after = static_cast<uint64_t>(progress_) * step_;  // the next report comes after this offset
  for (size_t i = 0; i < count; ++i) {
    const uint16_t word = cis::ReadU16(words + 2 * i);
    if (awaiting_line_word) {
      // The word after the run that completed a line is its line word.
      position += 2;
      offsets_.push_back(static_cast<uint32_t>(transitions_.size()));
      line_words_.push_back(word);
      ++lines_read_;
      sum = 0;
      awaiting_line_word = false;
      continue;
    }
    if (position > report_after) {
      position_ = position;
      if (!ReportProgress()) break;
      report_after = static_cast<uint64_t>(progress_) * step_;
    }
    position += 2;
    sum += word;
    if (sum < width) {
      transitions_.push_back(static_cast<int32_t>(sum));
      continue;
    }
    if (sum > width) {
      ++corrupt_;
      if (!first_error_shown_) {
        reporter_.ShowMessage(
            MessageKind::kWarning,
            "\n *** File : " + name_ + "\n *** Invalid Scan Line Data In File - width exceeded *** \n" +
                "\n WidthCounter = " + std::to_string(sum) + "\n Sensor Width  = " + std::to_string(width) +
                "\n First Error Occurred At Line  = " + std::to_string(lines_read_) +
                "\n First Error At File Byte Number  = " + std::to_string(position));
        first_error_shown_ = true;
      }
    }
    // The run completes the line: its line word follows. A file ending here drops the line.
    transitions_.push_back(static_cast<int32_t>(sum));
    awaiting_line_word = true;
  }
  sum_ = sum;
  position_ = position;
  awaiting_line_word_ = awaiting_line_word;
}

Result CisReading::Finish() {
  if (!header_read_) {
    return Result::Corrupt("The file is too short to be a CIS file: " + std::to_string(taken_) +
                           " bytes, the header alone takes 52.");
  }
  if (!refusal_.ok()) return refusal_;
  data_.Header.FileLength = static_cast<uint32_t>(taken_);
  // Before a run the progress is reported even where the file then ends without one.
  if (!ended_ && !awaiting_line_word_ && position_ < taken_) ReportProgress();
  ended_ = true;

  transitions_.resize(offsets_.back());  // a line cut short by the end of the file is dropped
  data_.Lines.AdoptLines(std::move(transitions_), std::move(offsets_), std::move(line_words_));
  data_.Header.LinesReadPlusTwo = lines_read_ + 2;
  data_.Header.CorruptLineCount = corrupt_;
  // The lines of a stopped reading are only a part of the roll: not a scan to convert or save.
  if (stopped_) return Result::Cancelled("stopped: " + name_ + " was read only in part");
  if (corrupt_ > 0) {
    reporter_.ShowMessage(MessageKind::kWarning, " *** Invalid Scan Line Data In File  *** \n\n *** File : " + name_ +
                                                     "\n Total number of corrupt lines = " + std::to_string(corrupt_) +
                                                     "\n Lines read from file  = " + std::to_string(lines_read_));
  }
  ReportLineCountMismatch(lines_read_, data_.Header.HeaderLineCount, reporter_);
  return Result::Ok();
}

}  // namespace tarvelo
