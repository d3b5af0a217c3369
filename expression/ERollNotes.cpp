#include "expression/ERollNotes.h"

#include <array>

namespace tarvelo {

std::vector<ERollNote> ERollNotes(const EventList& events, const RollTiming& timing) {
  std::vector<ERollNote> notes;
  std::array<int, 128> open;  // index into `notes` of the track's sounding note, or -1
  open.fill(-1);
  for (const TrackEvent& event : events) {
    if (event.Track < 0 || event.Track > 127) continue;
    int& sounding = open[static_cast<size_t>(event.Track)];
    if (event.Kind == EventKind::kNoteOn && sounding < 0) {
      sounding = static_cast<int>(notes.size());
      notes.push_back({event.Track, timing.TickOfPosition(event.YPosition), 0, event.Value});
    } else if (event.Kind == EventKind::kNoteOff && sounding >= 0) {
      notes[static_cast<size_t>(sounding)].OffTick = timing.TickOfPosition(event.YPosition);
      sounding = -1;
    }
  }
  // Notes whose note off never came.
  for (const int index : open)
    if (index >= 0) notes[static_cast<size_t>(index)].OffTick = -1;
  std::vector<ERollNote> closed;
  closed.reserve(notes.size());
  for (const ERollNote& note : notes)
    if (note.OffTick >= 0) closed.push_back(note);
  return closed;
}

}  // namespace tarvelo
