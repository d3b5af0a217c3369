#pragma once
// Opening a roll scan from a path, whichever kind of file holds it: a CIS file (cis/CisFile.h)
// or a picture of the roll (PNG, TIFF, JPEG: images/PictureReader.h). Every front end and tool
// that opens a scan goes through OpenScanFile; what follows never asks which kind it was
// (CisHeader::Picture says, for the few places that must know).

#include <string>
#include <string_view>

#include "cis/CisFile.h"
#include "cis/CisScanData.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"
#include "settings/RunSettings.h"
#include "support/Result.h"

namespace tarvelo {

// Whether `path` names a picture by its extension: .png, .tif, .tiff, .jpg, .jpeg in any case.
bool IsPictureFileName(std::string_view path);

struct ScanOpenOptions {
  bool OldFormatForced = false;  // a CIS file's type bits are not interpreted
  PictureSettings Picture;       // how a picture is read
  double PaperWidth = 0;         // inches, the roll type's (0: the usual 11 1/4 inch)
  int PresetDpi = 300;           // the DPI a picture gets when neither it nor its paper tells
};
// The options of a run with `settings` and the roll type in force.
ScanOpenOptions ScanOpenOptionsFor(const RunSettings& settings, const RollTypeDefinition& roll_type);

// Opens `path` into `data` (Reset first, with the file's names). A picture is read, its DPI,
// lines per inch and tempo settled, and an information message tells what was found; any other
// name is opened as a CIS file (OpenCisFile, which refuses a name that is neither). Failures are
// reported as error messages and returned as OpenCisFile returns them; a picture that cannot be
// read is kCorrupt (or kNotFound / kIoError), its opening kNothingRead.
Result OpenScanFile(const std::string& path, const ScanOpenOptions& options, CisScanData& data, Reporter& reporter,
                    CisOpenState* state = nullptr);

}  // namespace tarvelo
