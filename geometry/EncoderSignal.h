#pragma once
// Whether a scan carries a working shaft encoder signal: the header names a shaft encoder
// scanner (type 2) and the encoder bit of the line words changes often enough to place the
// lines by it (as often as the encoder mode itself asks: once per 32 lines at least). Scans
// whose header says shaft encoder but whose encoder bit never changes occur.

#include <cstdint>

#include "cis/CisScanData.h"

namespace tarvelo {

struct EncoderSignal {
  bool HeaderSaysEncoder = false;  // scanner type 2
  int64_t Ticks = 0;               // changes of the encoder bit from line to line
  int64_t Lines = 0;

  bool Working() const { return HeaderSaysEncoder && Ticks > 0 && Ticks >= Lines / 32; }
};

EncoderSignal ReadEncoderSignal(const CisScanData& data);

}  // namespace tarvelo
