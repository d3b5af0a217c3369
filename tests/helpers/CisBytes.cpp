#include "helpers/CisBytes.h"

#include <algorithm>

namespace tarvelo::testing {

namespace {

void Put16(std::string& out, size_t at, uint16_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>(value >> 8);
}

}  // namespace

std::string MakeCisBytes(const CisTestHeader& header, const std::vector<CisTestLine>& lines) {
  std::string bytes(52, '\0');
  bytes.replace(0, std::min<size_t>(header.title.size(), 40), header.title.substr(0, 40));
  if (header.title.size() <= 34) {
    bytes[34] = static_cast<char>(header.type_byte);
    bytes[35] = static_cast<char>(header.encoder_byte);
    Put16(bytes, 36, static_cast<uint16_t>(header.separation));
    Put16(bytes, 38, static_cast<uint16_t>(header.dpi));
  }
  Put16(bytes, 40, static_cast<uint16_t>(header.width));
  Put16(bytes, 42, static_cast<uint16_t>(header.changeover));
  Put16(bytes, 44, static_cast<uint16_t>(header.tempo));
  Put16(bytes, 46, static_cast<uint16_t>(header.lines_per_inch));
  const uint32_t count = header.line_count < 0 ? static_cast<uint32_t>(lines.size())
                                               : static_cast<uint32_t>(header.line_count);
  Put16(bytes, 48, static_cast<uint16_t>(count & 0xFFFF));
  Put16(bytes, 50, static_cast<uint16_t>(count >> 16));
  for (const CisTestLine& line : lines) {
    for (const uint16_t run : line.runs) {
      bytes.append(2, '\0');
      Put16(bytes, bytes.size() - 2, run);
    }
    bytes.append(2, '\0');
    Put16(bytes, bytes.size() - 2, line.word);
  }
  return bytes;
}

}  // namespace tarvelo::testing
