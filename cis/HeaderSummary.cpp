#include "cis/HeaderSummary.h"

#include <cstdint>

#include "cis/CisFormat.h"
#include "support/NumberFormat.h"

namespace tarvelo {

CisHeaderSummary SummarizeHeader(const CisHeader& header) {
  return CisHeaderSummary{header.HeaderLineCount, header.RawLinesPerInch,
                          header.ScanWidth,       static_cast<double>(header.Tempo),
                          header.HeaderText,      header.ChangeoverPixel};
}

std::vector<std::pair<std::string, std::string>> HeaderSummaryEntries(const CisHeaderSummary& summary) {
  // The header text holds the first 40 bytes of the header; a shorter one reads as zeros.
  std::string header = summary.HeaderText;
  header.resize(cis::kHeaderTextSize, '\0');
  const auto* bytes = reinterpret_cast<const uint8_t*>(header.data());
  const uint8_t type = bytes[cis::kScannerTypeOffset];
  const uint8_t encoder = bytes[cis::kEncoderOffset];
  const bool dual = (type & cis::kTwinArrayBit) != 0;
  const bool bicolour = (type & cis::kBiColourBit) != 0;
  const bool mirrored = (encoder & cis::kMirrorImageBit) != 0;
  return {
      {"Title", header.substr(0, header.find('\0'))},
      {"Scanner Type", std::to_string(type & cis::kTypeMask)},
      {"Encoder Exponent", std::to_string(encoder & cis::kEncoderExponentMask)},
      {"Single/Dual CIS", dual ? "Dual" : "Single"},
      {"Array Separation", std::to_string(dual ? cis::ReadI16(bytes + cis::kArraySeparationOffset) : 0)},
      {"Changeover Pixel", std::to_string(dual ? summary.ChangeoverPixel : 0)},
      {"Normal/Reverse", mirrored ? "Reverse" : "Normal"},
      {"Mono/Bicolor", bicolour ? "BiColor" : "Mono"},
      {"Horiz DPI", std::to_string(cis::ReadI16(bytes + cis::kHorizontalDpiOffset))},
      {"Scan Width", std::to_string(summary.ScanWidth)},
      {"Tempo", FormatGcvt(summary.Tempo, 8)},
      {"Lines Per Inch", std::to_string(summary.RawLinesPerInch)},
      {"Lines In File", std::to_string(summary.HeaderLineCount)},
  };
}

}  // namespace tarvelo
