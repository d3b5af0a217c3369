#pragma once
// Builds one Standard MIDI File of format 0 with exactly one track, and writes it in one call.
//
// Every Add... takes the event's absolute tick. The events are written in tick order, events
// on one tick in the order they were added; the writer works out the delta times, starts the
// track with a 4/4 time signature and a C major key signature at tick 0 and ends it with the
// end-of-track event. Nothing reaches the disk before WriteFile, which writes the whole file
// to a temporary file beside the destination and renames it over the destination, so no
// partial file is ever left and an existing file is replaced only by a complete one.
//
// Values the MIDI format cannot carry never corrupt the file (a data byte never gets its top
// bit set, a status byte never changes kind):
//   - a channel outside 0..15, or a note, controller or program number outside 0..127: the
//     event is left out (every other event keeps its time);
//   - a velocity outside 1..127 is written as 70, a controller value outside 1..127 as 0
//     (the long-standing rule of this writer, not counted as a problem);
//   - an event before tick 0 is put on tick 0; a gap between two events longer than the
//     largest delta time (2^28 - 1 ticks) is shortened to it;
//   - a text longer than the largest meta event length is cut to it;
//   - a division outside 1..32767 is refused (480 is used).
// Each such case is counted; ProblemText gives one message for the user per file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/Result.h"

namespace tarvelo {

// The text-like meta events, by their MIDI meta event type.
enum class MetaText : uint8_t {
  kText = 0x01,
  kCopyright = 0x02,
  kTrackName = 0x03,
  kInstrumentName = 0x04,
  kLyric = 0x05,
  kMarker = 0x06,
};

class MidiFileWriter {
 public:
  // Largest value a variable-length quantity of four bytes can hold.
  static constexpr uint32_t kMaxVariableLength = 0x0FFFFFFF;

  // A track holding only the time and key signatures, of `ticks_per_quarter` ticks per
  // quarter note (1..32767; larger values would mean SMPTE time).
  explicit MidiFileWriter(int ticks_per_quarter = 480);

  int Division() const { return division_; }

  // FF 51 03, the three low bytes of `microseconds_per_quarter`, most significant first.
  void AddTempo(int64_t tick, uint32_t microseconds_per_quarter);
  // FF, type, length, text bytes.
  void AddText(int64_t tick, MetaText type, std::string_view text);
  // 90+channel, note, velocity (70 when the velocity is not in 1..127).
  void AddNoteOn(int64_t tick, int channel, int note, int velocity);
  // A note-on with velocity 0.
  void AddNoteOff(int64_t tick, int channel, int note);
  // B0+channel, controller, value (0 when the value is not in 1..127).
  void AddController(int64_t tick, int channel, int controller, int value);
  // C0+channel, program.
  void AddProgramChange(int64_t tick, int channel, int program);
  // B0 78 00: all sound off on channel 0.
  void AddAllSoundOff(int64_t tick);

  // The latest tick of any event added (0 for a new track).
  int64_t LastTick() const { return events_.empty() ? 0 : events_.back().tick; }

  // The whole file: the header chunk ("MThd", length 6, format 0, one track, the division)
  // and the track chunk.
  std::string FileBytes() const;
  // Writes FileBytes to `path` atomically. kIoError, naming the file and the reason, when it
  // could not be written (no partial file is left and an existing file is untouched);
  // kInvalid for an empty path.
  Result WriteFile(const std::string& path) const;

  // How often a value had to be adjusted or an event left out.
  struct Adjustments {
    int EventsLeftOut = 0;     // channel or data value outside the MIDI range
    int TimesAdjusted = 0;     // before tick 0, or a gap longer than a delta can hold
    int TextsCut = 0;          // longer than a meta event can hold
    int DivisionsRefused = 0;  // outside 1..32767
    std::string FirstLeftOut;  // description of the first event left out
    bool Any() const { return EventsLeftOut + TimesAdjusted + TextsCut + DivisionsRefused > 0; }
  };
  Adjustments AdjustmentCounts() const;
  // One message describing every adjustment made to the file `path`, or "" when there was none.
  std::string ProblemText(const std::string& path) const;

 private:
  struct Event {
    int64_t tick;
    uint32_t begin;  // into payload_
    uint32_t size;
  };

  // The tick held to 0 and above (counted when it was not).
  int64_t Placed(int64_t tick);
  // Stores the bytes appended to payload_ since `begin` as one event on `tick`, after every
  // event already on that tick.
  void StoreEvent(int64_t tick, size_t begin);
  // A channel event of `kind` (0x90, 0xB0, 0xC0); `data2` < 0 when the event has one data byte.
  void AddChannelEvent(int64_t tick, uint8_t kind, int channel, int data1, int data2);
  // The delta before each event, in order, and how many had to be shortened.
  std::vector<uint32_t> Deltas(int& shortened) const;

  uint16_t division_ = 480;
  std::vector<Event> events_;  // in tick order
  std::string payload_;        // the events' bytes without their delta times
  Adjustments adjustments_;    // all but the gaps shortened, which only the tick order tells
};

// Appends `value` (0 .. 2^28 - 1) as a variable-length quantity of 1 to 4 bytes.
void AppendVariableLength(std::string& out, uint32_t value);

}  // namespace tarvelo
