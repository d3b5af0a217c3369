#pragma once
// The program's version and the build it came from: what `--version` prints and what the
// MIDI files name as the converter that made them.

#include <string>

namespace tarvelo {

// The release, "1.0".
std::string ProgramVersion();
// The sources the program was built from: their git commit ("88962d5c1a2b", with
// "-modified" when the working tree held changes), or "" when it is not known (a build
// outside a git checkout).
std::string ProgramBuild();
// "Tarvelo 1.0 (build 88962d5c1a2b)", or "Tarvelo 1.0" when the build is not known.
std::string ProgramVersionLine();

}  // namespace tarvelo
