#pragma once
// A short name for the settings a run used, so that a MIDI file, a log and a catalogue row can
// say which settings made a file and two runs can be told apart or matched: the SHA-256 of the
// settings written out one per line, in the order the dialogs save them.

#include <string>

#include "settings/RunSettings.h"

namespace tarvelo {

// "Section/Key=Value" lines of every setting `settings` holds: the scanner record's values
// under their keys without a preset index (its name left out: renaming a preset changes no
// result), then every other group as it is saved. The profile's findings are not part of it.
std::string SettingsText(const RunSettings& settings);

// The first 16 hexadecimal digits of the SHA-256 of SettingsText.
std::string SettingsDigest(const RunSettings& settings);

}  // namespace tarvelo
