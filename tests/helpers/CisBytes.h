#pragma once
// Hand-made CIS files for tests: a header and line records built from run lengths.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvelo::testing {

struct CisTestHeader {
  std::string title = "Test Roll";  // bytes 0..39, zero padded (at most 40 bytes used)
  uint8_t type_byte = 0;            // byte 34
  uint8_t encoder_byte = 0;         // byte 35
  int16_t separation = 0;           // bytes 36..37
  int16_t dpi = 300;                // bytes 38..39
  int16_t width = 100;              // stated width
  int16_t changeover = 0;
  int16_t tempo = 90;
  int16_t lines_per_inch = 200;
  int32_t line_count = -1;  // -1: the number of lines given
};

struct CisTestLine {
  std::vector<uint16_t> runs;
  uint16_t word = 0;
};

// The file bytes. Title bytes beyond 34 are overwritten by the type fields when both are set.
std::string MakeCisBytes(const CisTestHeader& header, const std::vector<CisTestLine>& lines);

}  // namespace tarvelo::testing
