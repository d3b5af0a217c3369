#pragma once
// The two optional text files that show what a conversion saw: every scan line with its
// position, line word, tracking offset and transitions; and every sensor pixel with the
// track it maps to. Both lie beside the CIS file, are replaced whole (written to a
// temporary file and renamed), and end their lines with a single line feed. A file that
// cannot be written is reported in a message; the conversion goes on without it.

#include <string>

#include "cis/CisScanData.h"
#include "geometry/TrackLookupMap.h"
#include "services/Reporter.h"
#include "support/Result.h"

namespace tarvelo {

// folder + base name + "_DiagnosticFileValues.txt"
std::string CisDiagnosticFilePath(const CisFileName& names);
// folder + base name + "_LookupMapDiagnosticFileValues.txt"
std::string LookupMapDiagnosticFilePath(const CisFileName& names);

// The CIS diagnostic file's text: title, tempo, `dpi` (the horizontal DPI the conversion
// used), line count, column heads, then one row per scan line of data.Lines.
std::string CisDiagnosticText(const CisScanData& data, int dpi);
// The lookup map file's text: offset, DPI, width, column heads, one row per pixel 0..W-1.
std::string LookupMapDiagnosticText(const TrackLookupMap& map);

// Write the files. A file that could not be written is reported (an error message that says
// the conversion goes on) and its failure returned.
Result WriteCisDiagnosticFile(const CisScanData& data, int dpi, Reporter& reporter);
Result WriteLookupMapDiagnosticFile(const TrackLookupMap& map, const CisScanData& data, Reporter& reporter);

}  // namespace tarvelo
