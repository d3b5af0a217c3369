#pragma once
// Writes one Standard MIDI File of format 0 with exactly one track.
//
// Calling order: construct; SetTempo; SetDivision; Open; WriteHeader; any number of the
// Add... operations in time order; WriteTrack; Close. Every Add... takes the delta time in
// ticks since the previous event appended (the events that take no delta are at delta 0).
//
// The writer never leaves a partial file behind. Nothing reaches the disk before Close,
// which writes the whole file to a temporary file beside the destination and renames it
// over the destination; an existing file of that name is replaced only then. Close reports
// failure with a text naming the path and the reason.
//
// Events are kept with their absolute tick until WriteTrack, which writes them in tick
// order, events on the same tick in the order they were appended. A caller that appends in
// time order (all deltas >= 0) gets exactly the bytes it appended; a negative delta places
// the event that many ticks before the previous one instead of corrupting the delta.
//
// Values the MIDI format cannot carry never corrupt the file (a data byte never gets its
// top bit set, a status byte never changes kind):
//   - a channel outside 0..15, or a note, controller or program number outside 0..127:
//     the event is left out (the time of every other event is kept);
//   - a velocity outside 1..127 is written as 70, a controller value outside 1..127 as 0
//     (the long-standing rule of this writer, not counted as a problem);
//   - an event that would fall before tick 0 is put on tick 0; a gap between two events
//     longer than the largest delta time (2^28 - 1 ticks) is shortened to it;
//   - a text longer than the largest meta event length is cut to it;
//   - a division outside 1..32767 is refused (the previous one is kept).
// Each such case is counted; ProblemText gives one message for the user per file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/Result.h"

namespace tarvelo {

class MidiFileWriter {
 public:
  // Largest value a variable-length quantity of four bytes can hold.
  static constexpr uint32_t kMaxVariableLength = 0x0FFFFFFF;

  // Every field at its initial value, then ResetTrack.
  MidiFileWriter();

  // Header values back to format 0, one track, division 480, tempo 120; the track emptied
  // and started again with a 4/4 time signature and a C major key signature at delta 0.
  void ResetTrack();

  // Stores the tempo in beats per minute; the writer itself never writes it (the caller
  // turns it into a tempo event).
  void SetTempo(double beats_per_minute) { tempo_ = beats_per_minute; }
  double Tempo() const { return tempo_; }
  // Ticks per quarter note, 1..32767 (larger values would mean SMPTE time).
  void SetDivision(int ticks_per_quarter);
  int Division() const { return division_; }

  // Names the file to be written. Nothing is created yet.
  void Open(const std::string& path);
  // Puts the header chunk into the file: "MThd", length 6, format 0, one track, division.
  void WriteHeader();

  // delta, FF 51 03, the three low bytes of `microseconds_per_quarter`, most significant first.
  void AddTempo(int64_t delta, uint32_t microseconds_per_quarter);
  // Store the text and append it as a track name (FF 03) / copyright (FF 02) at delta 0.
  void AddTrackName(std::string_view text);
  void AddCopyright(std::string_view text);
  // Meta text events: FF 01 text, 02 copyright, 03 track name, 04 instrument name, 05 lyric,
  // 06 marker; each is FF, type, length, text bytes.
  void AddTextEvent(int64_t delta, std::string_view text);
  void AddCopyrightEvent(int64_t delta, std::string_view text);
  void AddTrackNameEvent(int64_t delta, std::string_view text);
  void AddInstrumentName(int64_t delta, std::string_view text);
  void AddLyric(int64_t delta, std::string_view text);
  void AddMarker(int64_t delta, std::string_view text);
  // 90+channel, note, velocity (70 when the velocity is not in 1..127).
  void AddNoteOn(int64_t delta, int channel, int note, int velocity);
  // A note-on with velocity 0.
  void AddNoteOff(int64_t delta, int channel, int note);
  // B0+channel, controller, value (0 when the value is not in 1..127).
  void AddController(int64_t delta, int channel, int controller, int value);
  // At delta 0: C0+channel, program.
  void AddProgramChange(int channel, int program);
  // B0 78 00: all sound off on channel 0.
  void AddAllSoundOff(int64_t delta);

  // Appends the end-of-track event and puts the track chunk into the file.
  void WriteTrack();
  // Writes the file atomically. kIoError, naming the file and the reason, when it could not
  // be written; no partial file is left and an existing file is untouched.
  Result Close();

  // The bytes the file receives (header and track chunk as put so far).
  const std::string& FileBytes() const { return file_bytes_; }
  const std::string& FileName() const { return file_name_; }
  const std::string& CopyrightText() const { return copyright_; }
  const std::string& TrackNameText() const { return track_name_; }
  // Absolute tick of the last event appended.
  int64_t CurrentTick() const { return cursor_; }

  // How often a value had to be adjusted or an event left out.
  struct Adjustments {
    int EventsLeftOut = 0;     // channel or data value outside the MIDI range
    int TimesAdjusted = 0;     // before tick 0, or a gap longer than a delta can hold
    int TextsCut = 0;          // longer than a meta event can hold
    int DivisionsRefused = 0;  // outside 1..32767
    std::string FirstLeftOut;  // description of the first event left out
    bool Any() const { return EventsLeftOut + TimesAdjusted + TextsCut + DivisionsRefused > 0; }
  };
  const Adjustments& AdjustmentCounts() const { return adjustments_; }
  // One message describing every adjustment made to this file, or "" when there was none.
  std::string ProblemText() const;

 private:
  struct Event {
    int64_t tick;
    uint32_t begin;  // into payload_
    uint32_t size;
  };

  // Moves the cursor `delta` ticks on (never before tick 0) and returns the new tick.
  int64_t Advance(int64_t delta);
  // Stores the bytes appended to payload_ since `begin` as one event on `tick`.
  void StoreEvent(int64_t tick, size_t begin);
  void AddMeta(int64_t delta, uint8_t type, std::string_view text);
  // A channel event of `kind` (0x90, 0xB0, 0xC0); `data2` < 0 when the event has one data byte.
  void AddChannelEvent(int64_t delta, uint8_t kind, int channel, int data1, int data2);

  double tempo_ = 120.0;
  std::string track_chunk_id_ = "MTrk";
  std::string copyright_;
  std::string track_name_;
  uint32_t header_length_ = 6;
  uint16_t format_ = 0;
  uint16_t track_count_ = 1;
  uint16_t division_ = 480;
  std::string header_chunk_id_ = "MThd";
  std::string file_name_;
  bool opened_ = false;
  bool track_written_ = false;

  std::vector<Event> events_;
  std::string payload_;     // the events' bytes without their delta times
  int64_t cursor_ = 0;      // absolute tick of the last event appended
  std::string file_bytes_;  // what Close writes
  Adjustments adjustments_;
};

// Appends `value` (0 .. 2^28 - 1) as a variable-length quantity of 1 to 4 bytes.
void AppendVariableLength(std::string& out, uint32_t value);

}  // namespace tarvelo
