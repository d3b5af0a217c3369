#pragma once
// One timed event of a roll: a note on or off, a pedal controller, a text or a tempo change,
// at a position along the roll in thousandths of an inch (the hole's inches * 1000, truncated).
// The event builders make them from the punched holes; the MIDI outputs write them.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvelo {

// The kinds of event. The numbers are the type codes the unhandled-event message names (text
// kinds are 3840 plus their MIDI meta event type); nothing else depends on them.
enum class EventKind : int32_t {
  kNoteOff = 0,
  kNoteOn = 1,
  kSustainPedal = 164,  // controller 64
  kSoftPedal = 167,     // controller 67
  kText = 3841,         // a text the outputs gather at the start of the file (the roll's title)
  kCopyright = 3842,
  kTrackName = 3843,
  kInstrumentName = 3844,
  kLyric = 3845,
  kMarker = 3846,
  kTempo = 3921,
};

// The code of a kind, for messages.
constexpr int32_t EventKindCode(EventKind kind) { return static_cast<int32_t>(kind); }
// Note ons and offs and the pedals: events a MIDI channel plays, as opposed to texts and tempo.
constexpr bool IsChannelEvent(EventKind kind) { return EventKindCode(kind) < EventKindCode(EventKind::kText); }

struct TrackEvent {
  EventKind Kind = EventKind::kNoteOff;
  int32_t Track = 0;       // track number the event belongs to (0 for texts and tempo)
  uint32_t YPosition = 0;  // thousandths of an inch from the roll start
  int32_t Value = 0;       // note-on velocity or controller value
  int32_t TempoValue = 0;  // tempo events: microseconds per quarter note
  std::string Text;        // text events

  static TrackEvent NoteOn(int32_t track, uint32_t y_position, int32_t velocity) {
    return TrackEvent{EventKind::kNoteOn, track, y_position, velocity, 0, {}};
  }
  static TrackEvent NoteOff(int32_t track, uint32_t y_position) {
    return TrackEvent{EventKind::kNoteOff, track, y_position, 0, 0, {}};
  }
  static TrackEvent Tempo(uint32_t y_position, int32_t microseconds_per_quarter) {
    return TrackEvent{EventKind::kTempo, 0, y_position, 0, microseconds_per_quarter, {}};
  }
  static TrackEvent TextOf(EventKind kind, uint32_t y_position, std::string text) {
    return TrackEvent{kind, 0, y_position, 0, 0, std::move(text)};
  }
};

// The events of one output, in ascending YPosition; events at one position keep the order in
// which they were built (a hole's note on before its note off, an earlier hole before a later).
using EventList = std::vector<TrackEvent>;

// Stable sort by ascending YPosition.
void SortEventsByPosition(EventList& events);

// Where notes of one track overlap or nest, keeps one note, from the first note on to the note
// off that closes the outermost one, and erases the others' note ons and note offs; a note off
// with no note on open on its track is erased too. Other kinds, and tracks outside 0..511, are
// passed over.
void RemoveNestedNotes(EventList& events);

// Erases the events whose entry in `erase` is true (one entry per event), keeping the order of
// the rest.
void EraseMarkedEvents(EventList& events, const std::vector<bool>& erase);

}  // namespace tarvelo
