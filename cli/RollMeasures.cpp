#include "cli/RollMeasures.h"

namespace tarvelo::cli {

std::string ScannerTypeName(int type) { return type == 2 ? "shaft encoder" : "no shaft encoder"; }

RollMeasures MeasureRoll(const CisScanData& data) {
  RollMeasures measures;
  if (data.LinesPerInch > 0) measures.feet = data.Lines.Size() / static_cast<double>(data.LinesPerInch) / 12.0;
  if (data.Tempo > 0) measures.minutes = measures.feet / (data.Tempo / 10.0);
  return measures;
}

}  // namespace tarvelo::cli
