#pragma once
// Where each MIDI output of a scan goes. The conversion writes there and the command line
// plans its batch (clashes, --no-clobber, the report) by the same function, so the two cannot
// disagree about a file's name.

#include <string>

#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"

namespace tarvelo {

enum class MidiOutputKind { kScanImage, kERoll, kExpression };

// folder + the kind's prefix + file_name + the kind's suffix + ".mid". `folder` ends in a
// separator or is "" (the working folder); `file_name` is the scan's name up to its first ".".
// The prefixes and suffixes are ScanMidiFilePrefix/-Suffix (General), eRollMidiFilePrefix/
// -Suffix (ERoll) and ExpressionMidiFilePrefix/-Suffix (Outputs).
std::string MidiOutputPath(MidiOutputKind kind, const std::string& folder, const std::string& file_name,
                           const GeneralSettings& general, const ERollSettings& eroll, const OutputSettings& outputs);

}  // namespace tarvelo
