#pragma once
// Reads a Standard MIDI File as a player reads it: the channel events and tempo changes of
// every track on one time line of absolute ticks. Text, key, time signature and system
// exclusive events are passed over; they change nothing that sounds.
//
// Accepted: formats 0, 1 and 2 with a division of ticks per quarter note (SMPTE divisions are
// refused), running status, chunks of unknown kinds (passed over) and bytes after a track's
// end-of-track event (ignored). Events of several tracks that fall on one tick keep the order
// of their tracks, and within a track the order of the file.

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/Result.h"

namespace tarvelo {

// Status of a tempo change in MidiFileEvent (the meta event FF 51).
inline constexpr uint8_t kTempoEventStatus = 0xFF;

struct MidiFileEvent {
  int64_t Tick = 0;    // ticks from the start of the file
  uint8_t Status = 0;  // 0x80..0xEF: a channel event (kind and channel); kTempoEventStatus: a tempo change
  uint8_t Data1 = 0;   // note, controller or program
  uint8_t Data2 = 0;   // velocity or value (0 for programs and channel pressure)
  uint32_t MicrosecondsPerQuarter = 0;  // a tempo change's value

  bool IsTempo() const { return Status == kTempoEventStatus; }
  bool IsNoteOn() const { return (Status & 0xF0) == 0x90 && Data2 > 0; }
};

struct MidiFileContents {
  int Format = 0;
  int TrackCount = 0;
  int Division = 480;  // ticks per quarter note
  std::vector<MidiFileEvent> Events;
  int64_t EndTick = 0;  // tick of the last event of any track, its end-of-track event included
};

// The time of the file's last event (EndTick), following the file's own tempo changes (120
// beats per minute before the first), as any player of the file times it.
double PlayingSeconds(const MidiFileContents& file);

// Reads `bytes` into `contents`. kCorrupt, saying where, when they are not a Standard MIDI
// File or a chunk ends inside an event; `contents` is then left empty.
Result ReadMidiFile(std::string_view bytes, MidiFileContents& contents);

}  // namespace tarvelo
