#pragma once
// Reading a CIS file and running the early conversion stages on it (scan line positions, the
// twin array merge and the mirroring), so that a measurement sees the lines the per-line pass
// would see, without running the rest of the conversion; the measurement's view of such
// lines; and the roll types of a library, filled as a conversion fills them.

#include <string>
#include <vector>

#include "align/AlignmentInput.h"
#include "cis/CisScanData.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"
#include "settings/RunSettings.h"
#include "support/Result.h"
#include "xml/XmlDocument.h"

namespace tarvelo {

// The prepared scan: the file's data with its working lines ready for measuring.
struct PreparedScan {
  CisScanData Data;
  ScannerSetting Preset;  // the preset's DPI, offset and stretch (DPI and stretch made usable)
};

// Opens `path` into `out` (see OpenCisFile) and prepares its lines as a conversion with
// `settings` would. Fails as the opening fails (a refused header is kCorrupt); the reader's
// and the stages' messages go to `reporter` as in a conversion.
Result PrepareScan(const std::string& path, const RunSettings& settings, Reporter& reporter, PreparedScan& out);

// Prepares, as PrepareScan does, the lines of a scan already open (`opened`: its lines as read
// and its header) on a copy in `out`, without reading the file
// again; `opened` is not changed.
void PrepareOpenedScan(const CisScanData& opened, const RunSettings& settings, Reporter& reporter, PreparedScan& out);

// The positions, the merge and the mirroring of a conversion with `settings`, on lines as read.
void PrepareLines(CisScanData& data, const RunSettings& settings, Reporter& reporter);

// The measurement's view of prepared lines: the hole image span (the first half of a
// bi-colour line, whose second half is an ink channel), the hole polarity by the preset's
// lighting method, the header's DPI and a twin array scan's crossover.
ScanForAlignment AlignmentView(const CisScanData& data, int lighting_method);

// Every roll type named in `names` (the library's names; the built-in "Fail-Safe", which the
// list starts with, is left out), filled from the parsed `library` in the list's order.
std::vector<RollTypeDefinition> FillRollTypes(XmlDocument& library, const std::vector<std::string>& names,
                                              Reporter& reporter);

}  // namespace tarvelo
