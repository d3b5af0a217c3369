#include "cli/MidiFacts.h"

#include "midi/MidiFileReader.h"

namespace tarvelo::cli {

bool ReadMidiFacts(const std::string& bytes, MidiFacts& facts) {
  facts = MidiFacts{};
  MidiFileContents file;
  if (!ReadMidiFile(bytes, file).ok()) return false;
  for (const MidiFileEvent& event : file.Events)
    if (event.IsNoteOn()) ++facts.Notes;
  facts.Minutes = PlayingSeconds(file) / 60;
  return true;
}

}  // namespace tarvelo::cli
