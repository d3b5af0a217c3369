#include "cli/RollMeasures.h"

namespace tarvelo::cli {

std::string ScannerTypeName(int type) { return type == 2 ? "shaft encoder" : "no shaft encoder"; }

RollMeasures MeasureRoll(const CisScanData& data) {
  RollMeasures measures;
  if (data.Header.LinesPerInch > 0)
    measures.feet = data.Lines.Size() / static_cast<double>(data.Header.LinesPerInch) / 12.0;
  if (data.Header.Tempo > 0) measures.minutes = measures.feet / (data.Header.Tempo / 10.0);
  return measures;
}

}  // namespace tarvelo::cli
