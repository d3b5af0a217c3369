#pragma once
// The settings a run uses for a scan read from a picture. A scanner preset describes a CIS
// scanner (its DPI, where its sensor lies, how it lights the roll, its encoder); a picture has
// none of these, so its run takes what the picture reader found instead: the picture's DPI with
// no stretch, an offset that puts the middle of the paper where the roll type expects it, the hole
// runs the threshold decided and lines placed at the nominal lines per inch. Everything else is
// the settings as given. For a CIS file the settings are returned unchanged.

#include "cis/CisScanData.h"
#include "rolltypes/RollTypeDefinition.h"
#include "settings/RunSettings.h"

namespace tarvelo {

RunSettings SettingsForScan(const RunSettings& settings, const CisScanData& scan, const RollTypeDefinition& roll_type);

}  // namespace tarvelo
