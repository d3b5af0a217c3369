#include "cli/MidiFacts.h"

#include "midi/MidiFileReader.h"
#include "midi/RollTiming.h"

namespace tarvelo::cli {

bool ReadMidiFacts(const std::string& bytes, MidiFacts& facts) {
  facts = MidiFacts{};
  MidiFileContents file;
  if (!ReadMidiFile(bytes, file).ok()) return false;
  for (const MidiFileEvent& event : file.Events)
    if (event.IsNoteOn()) ++facts.Notes;
  facts.Minutes = RollTiming::OfMidiFile(file).SecondsAtTick(static_cast<double>(file.EndTick)) / 60;
  return true;
}

}  // namespace tarvelo::cli
