#pragma once
// Reads a CIS file and runs the early conversion stages on it (scan line positions, the twin
// array merge and the mirroring), so that a measurement sees the lines the per-line pass
// would see, without running the rest of the conversion; and fills the roll types of a
// library. This is the one place where the alignment code meets the document's stages and the
// user interface.

#include <string>
#include <vector>

#include "align/AlignmentInput.h"
#include "cis/CisScanData.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/UiServices.h"
#include "support/Result.h"

namespace tarvelo {

// The prepared scan: the file's data with its working lines ready for measuring.
struct PreparedScan {
  CisScanData Data;
  ScannerSetting Preset;  // the live preset's DPI, offset and stretch (DPI and stretch made usable)
};

// Reads `path` into `out` and prepares its lines as a conversion would with the session's
// settings. Fails (kIoError, kCorrupt) when the file cannot be read or its header is refused;
// the reader's and the stages' messages go to `ui` as in a conversion.
Result PrepareScan(const std::string& path, UiServices& ui, PreparedScan& out);

// Every roll type of the library file at `path`, filled as a conversion would fill it, in the
// file's order (the built-in "Fail-Safe" type is not among them). Fails (kNotFound, kCorrupt)
// when the file cannot be read or parsed; the loader's messages go to `ui`.
Result LoadRollTypeLibrary(const std::string& path, UiServices& ui, std::vector<RollTypeDefinition>& types);

// The measurement's view of prepared lines: the hole image span (the first half of a
// bi-colour line, whose second half is an ink channel), the hole polarity by the preset's
// lighting method, and the header's DPI.
ScanForAlignment AlignmentView(const CisScanData& data, int lighting_method);

}  // namespace tarvelo
