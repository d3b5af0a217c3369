#pragma once
// What a scan's header and lines say of the roll itself: the kind of scanner, the length of
// paper scanned and the time it plays. info prints them; the catalogue records them.

#include <string>

#include "cis/CisScanData.h"

namespace tarvelo::cli {

// The scanner type field of the header by name: type 2 is a shaft-encoder scanner, whose
// lines carry the encoder signal; the other types advance the roll at a nominal speed.
std::string ScannerTypeName(int type);

struct RollMeasures {
  double feet = 0;     // lines read at the header's lines per inch
  double minutes = 0;  // at the roll's tempo (tempo 100 plays ten feet a minute)
};

RollMeasures MeasureRoll(const CisScanData& data);

}  // namespace tarvelo::cli
