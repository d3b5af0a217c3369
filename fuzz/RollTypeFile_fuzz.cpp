// Fuzz target: any bytes as a roll type library file, loaded from the disk as the front ends
// load it (size limit, byte order marks, UTF-16) and every roll type it names applied. Nothing
// may crash or hang, and no roll type may map a track outside MIDI's channels, notes and
// velocities.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "helpers/RecordingFrontEnd.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeDefinition.h"
#include "rolltypes/RollTypeLibrary.h"
#include "xml/XmlDocument.h"

namespace {

// One file per process, in the system's temporary folder.
const std::string& LibraryPath() {
  static const std::string path = "/tmp/tarvelo-fuzz-rolltypes-" + std::to_string(::getpid()) + ".xml";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(LibraryPath().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  tarvelo::testing::RecordingFrontEnd ui;
  tarvelo::XmlDocument library;
  std::vector<std::string> names;
  if (!tarvelo::LoadRollTypeDefinitions({LibraryPath()}, library, names)) return 0;
  for (size_t i = 0; i < names.size() && i < 4; ++i) {
    tarvelo::RollTypeDefinition record;
    tarvelo::ApplyActiveRollType(record, names[i], library, ui).Ignore();
    for (int n = 0; n < tarvelo::kTrackSlots; ++n) {
      if (record.TrackMidiChannel[n] < 0 || record.TrackMidiChannel[n] > 15) std::abort();
      if (record.TrackMidiVelocity[n] < 0 || record.TrackMidiVelocity[n] > 127) std::abort();
    }
  }
  return 0;
}
