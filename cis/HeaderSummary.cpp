#include "cis/HeaderSummary.h"

#include <cstdint>

#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

uint8_t Byte(const std::string& header, size_t offset) {
  return offset < header.size() ? static_cast<uint8_t>(header[offset]) : 0;
}

int Int16(const std::string& header, size_t offset) {
  return static_cast<int16_t>(static_cast<uint16_t>(Byte(header, offset) | (Byte(header, offset + 1) << 8)));
}

}  // namespace

std::vector<std::pair<std::string, std::string>> HeaderSummaryEntries(const CisHeaderSummary& s) {
  const std::string& h = s.HeaderText;
  const uint8_t type = Byte(h, 34);
  const uint8_t encoder = Byte(h, 35);
  const bool dual = (type & 0x20) != 0;
  const bool bicolour = (type & 0x40) != 0;
  // The mirror-image flag of the format: the scan has treble and bass reversed.
  const bool mirrored = (encoder & 0x10) != 0;
  const size_t zero = h.find('\0');
  return {
      {"Title", h.substr(0, zero)},
      {"Scanner Type", std::to_string(type & 0x0F)},
      {"Encoder Exponent", std::to_string(encoder & 0x0F)},
      {"Single/Dual CIS", dual ? "Dual" : "Single"},
      {"Array Separation", std::to_string(dual ? Int16(h, 36) : 0)},
      {"Changeover Pixel", std::to_string(dual ? s.ChangeoverPixel : 0)},
      {"Normal/Reverse", mirrored ? "Reverse" : "Normal"},
      {"Mono/Bicolor", bicolour ? "BiColor" : "Mono"},
      {"Horiz DPI", std::to_string(Int16(h, 38))},
      {"Scan Width", std::to_string(s.ScanWidth)},
      {"Tempo", FormatGcvt(s.Tempo, 8)},
      {"Lines Per Inch", std::to_string(s.RawLinesPerInch)},
      {"Lines In File", std::to_string(s.HeaderLineCount)},
  };
}

}  // namespace tarvelo
