#pragma once
// Places every scan line along the roll, in inches from line 0, by the scanner mode of the
// current preset: nominal lines per inch (with the take-up spool acceleration correction),
// blocks of ten lines, or the shaft encoder ticks recorded in the line words.

#include <string>

#include "cis/CisScanData.h"
#include "services/UiServices.h"

namespace tarvelo {

// Writes the Position of every line of data.Lines and data.InterpretedAverageLpi; returns
// the name of the mode actually applied (one of the four mode names or
// "DEFAULT SCANNER MODE").
std::string ComputeScanLinePositions(CisScanData& data, UiServices& ui);

}  // namespace tarvelo
