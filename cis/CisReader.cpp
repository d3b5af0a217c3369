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
void ReadHeader(const uint8_t* header, CisScanData& data, bool old_format_forced) {
  data.HeaderText.assign(reinterpret_cast<const char*>(header), cis::kHeaderTextSize);
  data.Title = TitleFromHeader(data.HeaderText);
  data.ScannerType = header[cis::kScannerTypeOffset] & cis::kTypeMask;
  data.EncoderExponent = header[cis::kEncoderOffset] & cis::kEncoderExponentMask;

  data.ScanWidth = cis::ReadI16(header + cis::kScanWidthOffset);
  data.TwinArray = false;
  data.ReverseImage = false;
  data.MirrorImage = false;
  data.HorizontalDpi = 0;
  if (!old_format_forced) {
    data.HorizontalDpi = cis::ReadI16(header + cis::kHorizontalDpiOffset);
    const uint8_t type = header[cis::kScannerTypeOffset];
    if (type & cis::kTwinArrayBit) {
      data.ScanWidth *= 2;
      data.TwinArray = true;
      data.ArraySeparation = cis::ReadI16(header + cis::kArraySeparationOffset);
    }
    if (type & cis::kBiColourBit) {
      data.ReverseImage = true;
      data.ScanWidth *= 2;
    }
    data.MirrorImage = (header[cis::kEncoderOffset] & cis::kMirrorImageBit) != 0;
  }

  data.ChangeoverPixel = cis::ReadI16(header + cis::kChangeoverOffset);
  const int16_t tempo = cis::ReadI16(header + cis::kTempoOffset);
  const int16_t lines_per_inch = cis::ReadI16(header + cis::kLinesPerInchOffset);
  data.HeaderLineCount = cis::ReadI32(header + cis::kLineCountOffset);

  data.RawLinesPerInch = lines_per_inch;
  data.RawTempo = tempo;
  data.LinesPerInch = lines_per_inch < 1 ? int16_t{100} : lines_per_inch;
  data.Tempo = (tempo < 10 || tempo > 500) ? int16_t{100} : tempo;
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
  reporter.SetStatusText("Reading CIS file ");
  if (bytes.size() < cis::kHeaderSize) {
    return Result::Corrupt("The file is too short to be a CIS file: " + std::to_string(bytes.size()) +
                           " bytes, the header alone takes 52.");
  }
  ReadHeader(bytes.data(), data, old_format_forced);

  const char* refusal = data.ScanWidth < 1         ? "*** Invalid Scanner Width in File *** "
                        : data.HeaderLineCount < 1 ? "*** Invalid Scan Line Count in File *** "
                                                   : nullptr;
  if (refusal) {
    reporter.ShowMessage(MessageKind::kError, refusal);
    return Result::Corrupt(refusal);
  }

  // Files beyond 4 GB cannot be described by the 32-bit length; such a file is read as far
  // as the length reaches.
  data.FileLength = static_cast<uint32_t>(std::min<size_t>(bytes.size(), UINT32_MAX));

  const int64_t width = data.ScanWidth;
  const uint8_t* const file = bytes.data();
  const uint64_t length = data.FileLength;
  // The lines are built in three plain arrays and handed to data.Lines at the end. Every word
  // after the header is at most one transition, and a line takes at least two words; the
  // stated line count is believed only as far as the file can hold it.
  const size_t words = (length - cis::kHeaderSize) / 2;
  const size_t expected_lines = std::min<size_t>(static_cast<size_t>(data.HeaderLineCount), words / 2);
  std::vector<int32_t> transitions;
  std::vector<uint32_t> offsets{0};
  std::vector<uint16_t> line_words;
  transitions.reserve(words);
  offsets.reserve(expected_lines + 1);
  line_words.reserve(expected_lines);

  int32_t lines_read = 0;
  int64_t sum = 0;      // pixels of the line so far
  int32_t corrupt = 0;  // lines whose runs overran the width
  bool first_error_shown = false;
  uint64_t position = 50;             // file offset of the word just read
  int64_t progress = 0;               // progress steps taken (two per step)
  const uint64_t step = length / 50;  // bytes per progress step

  const auto name = data.Names.Name + "." + data.Names.Extension;
  bool stopped = false;
  for (;;) {
    if (position >= length) break;
    if (position > static_cast<uint64_t>(progress) * step) {
      progress += 2;
      reporter.SetStatusText("Reading CIS Line = " + std::to_string(lines_read));
      reporter.SetProgress(kProgressReading, static_cast<int>(2 * progress));
      if (reporter.IsCancelled()) {
        stopped = true;
        break;
      }
    }
    // The run length at offset B + 2; the end of the file ends reading wherever it falls.
    if (position + 4 > length) break;
    const uint16_t run = cis::ReadU16(file + position + 2);
    position += 2;
    sum += run;
    if (sum < width) {
      transitions.push_back(static_cast<int32_t>(sum));
      continue;
    }
    if (sum > width) {
      ++corrupt;
      if (!first_error_shown) {
        reporter.ShowMessage(MessageKind::kWarning,
                             "\n *** File : " + name + "\n *** Invalid Scan Line Data In File - width exceeded *** \n" +
                                 "\n WidthCounter = " + std::to_string(sum) +
                                 "\n Sensor Width  = " + std::to_string(width) +
                                 "\n First Error Occurred At Line  = " + std::to_string(lines_read) +
                                 "\n First Error At File Byte Number  = " + std::to_string(position));
        first_error_shown = true;
      }
    }
    // The run completes the line: its line word follows. A file ending here drops the line.
    transitions.push_back(static_cast<int32_t>(sum));
    if (position + 4 > length) break;
    const uint16_t line_word = cis::ReadU16(file + position + 2);
    position += 2;
    offsets.push_back(static_cast<uint32_t>(transitions.size()));
    line_words.push_back(line_word);
    ++lines_read;
    sum = 0;
  }

  transitions.resize(offsets.back());  // a line cut short by the end of the file is dropped
  data.Lines.AdoptLines(std::move(transitions), std::move(offsets), std::move(line_words));
  data.LinesReadPlusTwo = lines_read + 2;
  data.CorruptLineCount = corrupt;
  // The lines of a stopped reading are only a part of the roll: not a scan to convert or save.
  if (stopped) return Result::Cancelled("stopped: " + name + " was read only in part");
  if (corrupt > 0) {
    reporter.ShowMessage(MessageKind::kWarning, " *** Invalid Scan Line Data In File  *** \n\n *** File : " + name +
                                                    "\n Total number of corrupt lines = " + std::to_string(corrupt) +
                                                    "\n Lines read from file  = " + std::to_string(lines_read));
  }
  ReportLineCountMismatch(lines_read, data.HeaderLineCount, reporter);
  return Result::Ok();
}

}  // namespace tarvelo
