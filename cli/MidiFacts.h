#pragma once
// What --verbose tells about a written MIDI file: how many notes it plays and for how long,
// read back from the file as a player would read it.

#include <string>

namespace tarvelo::cli {

struct MidiFacts {
  int Notes = 0;       // note-on events with a velocity above 0
  double Minutes = 0;  // time of the last event, following every tempo change
};

// Reads the Standard MIDI File `bytes` (midi/MidiFileReader.h). False when the bytes are not
// such a file.
bool ReadMidiFacts(const std::string& bytes, MidiFacts& facts);

}  // namespace tarvelo::cli
