#include "cis/CisReader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "cis/CisFormat.h"

namespace tarvelo {

namespace {

bool IsWhiteSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string TitleFromHeader(const std::string& header) {
  std::string title = header.substr(0, header.find('\0'));
  size_t begin = 0, end = title.size();
  while (begin < end && IsWhiteSpace(title[begin])) ++begin;
  while (end > begin && IsWhiteSpace(title[end - 1])) --end;
  return title.substr(begin, end - begin);
}

// Reads the header fields and applies the type bits and corrections.
void ReadHeader(const uint8_t* h, CisScanData& data, bool old_format_forced) {
  data.HeaderText.assign(reinterpret_cast<const char*>(h), cis::kHeaderTextSize);
  data.Title = TitleFromHeader(data.HeaderText);
  data.ScannerType = h[cis::kScannerTypeOffset] & cis::kTypeMask;
  data.EncoderExponent = h[cis::kEncoderOffset] & cis::kEncoderExponentMask;

  data.ScanWidth = cis::ReadI16(h + cis::kScanWidthOffset);
  data.TwinArray = false;
  data.ReverseImage = false;
  data.MirrorImage = false;
  data.HorizontalDpi = 0;
  if (!old_format_forced) {
    data.HorizontalDpi = cis::ReadI16(h + cis::kHorizontalDpiOffset);
    const uint8_t type = h[cis::kScannerTypeOffset];
    if (type & cis::kTwinArrayBit) {
      data.ScanWidth *= 2;
      data.TwinArray = true;
      data.ArraySeparation = cis::ReadI16(h + cis::kArraySeparationOffset);
    }
    if (type & cis::kBiColourBit) {
      data.ReverseImage = true;
      data.ScanWidth *= 2;
    }
    data.MirrorImage = (h[cis::kEncoderOffset] & cis::kMirrorImageBit) != 0;
  }

  data.ChangeoverPixel = cis::ReadI16(h + cis::kChangeoverOffset);
  const int16_t tempo = cis::ReadI16(h + cis::kTempoOffset);
  const int16_t lines_per_inch = cis::ReadI16(h + cis::kLinesPerInchOffset);
  data.HeaderLineCount = cis::ReadI32(h + cis::kLineCountOffset);

  data.RawLinesPerInch = lines_per_inch;
  data.LinesPerInch = lines_per_inch < 1 ? int16_t{100} : lines_per_inch;
  data.Tempo = (tempo < 10 || tempo > 500) ? int16_t{100} : tempo;
}

}  // namespace

CisReadResult ReadCisFile(std::span<const uint8_t> bytes, CisScanData& data, UiServices& ui,
                          std::string& last_error) {
  ui.SetStatusText("Reading CIS file ");
  if (bytes.size() < cis::kHeaderSize) return CisReadResult::kTooShort;

  ReadHeader(bytes.data(), data, ui.IsOldCisFormatForced());

  if (data.ScanWidth < 1) {
    last_error = "*** Invalid Scanner Width in File *** ";
    ui.ShowMessage(last_error);
    return CisReadResult::kRefused;
  }
  if (data.HeaderLineCount < 1) {
    last_error = "*** Invalid Scan Line Count in File *** ";
    ui.ShowMessage(last_error);
    return CisReadResult::kRefused;
  }

  // Files beyond 4 GB cannot be described by the 32-bit length; such a file is read as far
  // as the length reaches.
  data.FileLength = static_cast<uint32_t>(std::min<size_t>(bytes.size(), UINT32_MAX));
  ui.SetHeaderSummary(CisHeaderSummary{data.HeaderLineCount, data.RawLinesPerInch, data.ScanWidth,
                                       static_cast<double>(data.Tempo), data.HeaderText, data.ChangeoverPixel});

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

  int32_t lines_read = 0;     // H
  int64_t sum = 0;            // S
  int32_t corrupt = 0;        // K
  bool first_error_shown = false;
  uint64_t position = 50;     // B: offset of the word just read
  int64_t progress = 0;       // P
  const uint64_t step = length / 50;  // Q

  const auto name = data.FileName + "." + data.FileExtension;
  for (;;) {
    if (position >= length) break;
    if (position > static_cast<uint64_t>(progress) * step) {
      progress += 2;
      ui.SetStatusText("Reading CIS Line = " + std::to_string(lines_read));
      ui.SetProgress(kProgressReading, static_cast<int>(2 * progress));
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
        ui.ShowMessage("\n *** File : " + name + "\n *** Invalid Scan Line Data In File - width exceeded *** \n" +
                       "\n WidthCounter = " + std::to_string(sum) + "\n Sensor Width  = " + std::to_string(width) +
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
  if (corrupt > 0) {
    ui.ShowMessage(" *** Invalid Scan Line Data In File  *** \n\n *** File : " + name +
                   "\n Total number of corrupt lines = " + std::to_string(corrupt) +
                   "\n Lines read from file  = " + std::to_string(lines_read));
  }
  return CisReadResult::kRead;
}

}  // namespace tarvelo
