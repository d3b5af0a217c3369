#include "geometry/EncoderSignal.h"

#include "cis/CisFormat.h"

namespace tarvelo {

EncoderSignal ReadEncoderSignal(const CisScanData& data) {
  EncoderSignal signal;
  signal.HeaderSaysEncoder = data.Header.ScannerType == 2;
  signal.Lines = data.Lines.Size();
  if (!signal.HeaderSaysEncoder) return signal;
  for (int64_t i = 1; i < signal.Lines; ++i) {
    const auto line = static_cast<int>(i);
    if (((data.Lines.LineWord(line) ^ data.Lines.LineWord(line - 1)) & cis::kEncoderSignalBit) != 0) ++signal.Ticks;
  }
  return signal;
}

}  // namespace tarvelo
