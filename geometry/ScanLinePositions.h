#pragma once
// Places every scan line along the roll, in inches from line 0, by the scanner mode of the
// current preset: nominal lines per inch (with the take-up spool acceleration correction),
// blocks of ten lines, or the shaft encoder ticks recorded in the line words.

#include <string>

#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ScannerPresets.h"

namespace tarvelo {

// Writes the Position of every line of data.Lines and data.InterpretedAverageLpi by the scanner
// mode of `scanner` (the encoder options come from `diagnostics`); returns the name of the mode
// actually applied (one of the four mode names or "DEFAULT SCANNER MODE"). An unknown mode, or
// encoder data that cannot place the lines, falls back to the default mode with an error
// message; doubtful encoder data gives warnings.
std::string ComputeScanLinePositions(CisScanData& data, const ScannerSettings& scanner,
                                     const DiagnosticSettings& diagnostics, Reporter& reporter);

}  // namespace tarvelo
