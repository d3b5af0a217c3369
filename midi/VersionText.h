#pragma once
// The program's version texts: name, release stage and release date, and the full text that
// both MIDI outputs embed as a text event and the control bar shows.

#include <string>

namespace tarvelo {

struct VersionText {
  std::string ProgramName = "CIS to ScanImageMIDI converter";
  std::string ReleaseStage = "Beta Version";
  std::string ReleaseDate = "June. 23, 2007";

  // Name, stage and date joined by " - ".
  std::string FullText() const { return ProgramName + " - " + ReleaseStage + " - " + ReleaseDate; }
};

}  // namespace tarvelo
