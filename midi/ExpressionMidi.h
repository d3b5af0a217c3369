#pragma once
// The expression MIDI file: the roll as its reproducing system plays it. It holds the eRoll
// file's notes of the note tracks on the same ticks, channels and pitches, each with the
// velocity the expression model gives it, the system's pedals as controllers 64 (sustain) and
// 67 (soft) on every channel that carries notes, and no control holes. It keeps the eRoll
// file's tempo map, lead-in and end, so the two files stay aligned tick for tick.
//
// File: OutputFolder + ExpressionMidiFilePrefix + FileName + ExpressionMidiFileSuffix + ".mid"
// (source.Outputs). The track holds, at tick 0: the tempo, the track name, the copyright
// text, the roll information texts, "Roll Template Type Used = " + roll type name, the
// credit text, the version text (each as the eRoll file has them, see RollInfoTextEvents), the title text events, every
// keyword item of the eRoll file and "/expression_model: " + the model; program 0 on channel 0 and on every channel
// that carries notes; then the tempo events and the performance; all sound off where the eRoll file has it (after its
// trailer), with any pedal still down released there.

#include <cstdint>
#include <string>
#include <vector>

#include "events/TrackEvent.h"
#include "keywords/KeywordList.h"
#include "midi/MidiOutput.h"
#include "midi/RollTiming.h"
#include "services/Reporter.h"

namespace tarvelo {

// One event of the performance, at a tick of the file.
struct PerformedEvent {
  enum class Kind : uint8_t { kNoteOff, kNoteOn, kController };
  int64_t Tick = 0;
  Kind Type = Kind::kNoteOn;
  uint8_t Channel = 0;
  uint8_t Data1 = 0;  // note or controller
  uint8_t Data2 = 0;  // velocity or controller value
};

// What the expression stage decided for the file.
struct ExpressionPerformance {
  std::vector<PerformedEvent> Events;  // in the order to write, ticks never falling
  std::vector<int> Channels;           // the channels that carry notes, ascending
  std::string Model;                   // the value of "/expression_model: "
};

// Shows "Writing Output MIDI File" and writes the file. `eroll_events` are the eRoll file's
// events as WriteERollMidi leaves them (for the title texts and the tempo events), `keywords`
// its keyword items; `timing` is that file's clock (ERollFileTiming). Neither list is changed.
// A file that cannot be written is reported (path and reason) and left out.
MidiOutputResult WriteExpressionMidi(const MidiOutputSource& source, const EventList& eroll_events,
                                     const KeywordList& keywords, const ExpressionPerformance& performance,
                                     const RollTiming& timing, Reporter& reporter);

// "Conversion to expression MIDI made <date> with Tarvelo" + `ending` (CreditEnding).
std::string ExpressionCreditText(std::string_view date, std::string_view ending);

}  // namespace tarvelo
