#pragma once
// How a document aligns its runs to the scan (none by default): each run measures the lines
// after the twin array merge and the mirroring and converts with the DPI, offset and stretch
// the measurement suggests instead of the preset's; when asked, also with the roll type it
// recognises among a library.

#include <vector>

#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo {

struct AlignmentOptions {
  bool Align = false;              // convert with the suggested DPI, offset and stretch
  bool RecogniseRollType = false;  // and with the roll type recognised among Library
  // Convert with the preset's values even when its AutoTweakSettings asks for the measured ones.
  bool KeepPreset = false;
  std::vector<RollTypeDefinition> Library;  // the roll types to recognise among
  // Without RecogniseRollType: a run converted as the built-in roll type ranks Library's types
  // all the same and says which one the holes show (the run keeps its roll type).
  bool NameRecognised = false;
};

}  // namespace tarvelo
