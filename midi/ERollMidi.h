#pragma once
// The eRoll MIDI file: the playable interpretation of the roll. Each track is mapped
// through the roll type to its channel (TrackMidiChannel) and note (TrackMidiPitch), the
// channels get their instruments, optional PowerRoll start and stop markers frame the
// music, note 18 can drive the sustain pedal, silence is added before and after, and the
// tempo may rise along the roll with the take-up spool.
//
// File: OutputFolder + eRollMidiFilePrefix + FileName + eRollMidiFileSuffix + ".mid"
// (source.ERoll). The track holds, on tick
// 0: the tempo, the track name, the copyright text, the roll information texts,
// "Roll Template Type Used = " + roll type name, the credit text, the version text, the
// title text events, every keyword item and the program changes (channel 0 always, the
// other channels when their instrument is not 0); then the events, the first playable one
// after the lead-in (and the PowerRoll start marker); then after the trailer the PowerRoll
// stop marker and all sound off.

#include "events/TrackEvent.h"
#include "keywords/KeywordList.h"
#include "midi/MidiOutput.h"
#include "midi/RollTiming.h"
#include "services/Reporter.h"

namespace tarvelo {

// Shows "Writing Output MIDI File" and writes the file from the events as left by
// BuildERollEvents and RemoveWebbing. Changes the event list and the keyword list as the
// file records them: with the roll type's ApplyAccelerationToTempo the tempo events are
// added (AddTempoAccelerationEvents) and "/eRollTempoAcceleration:" is set; the items
// "/Source_File_Type:", "/File_Type:" and "/Processing_History:" are set for eRoll. A file
// that cannot be written is reported (path and reason) and left out.
MidiOutputResult WriteERollMidi(const MidiOutputSource& source, EventList& events, KeywordList& keywords,
                                Reporter& reporter);

// What WriteERollMidi changes in the event list and the keyword list before it writes: the
// tempo events of the take-up acceleration with "/eRollTempoAcceleration:" when the roll type
// applies it to the tempo, and the three items of an eRoll file. For a run that needs the
// eRoll file's events and items without writing the file (the expression file alone).
void PrepareERollFile(const RollTypeDefinition& roll, int tempo, EventList& events, KeywordList& keywords);

// The clock of the eRoll file written from `events` (as WriteERollMidi leaves them, tempo events
// included) with `settings` at `tempo`: its lead-in, PowerRoll start marker, first playable
// event and tempo events. Every event of the file lies at TickOfPosition of its position.
RollTiming ERollFileTiming(const EventList& events, const ERollSettings& settings, int tempo);
// The tick of that file's all sound off: the trailer after its last event (and the PowerRoll
// stop marker's 110 ticks when it is written).
int64_t ERollFileEndTick(const EventList& events, const ERollSettings& settings, const RollTiming& timing);

// "Conversion to eRoll MIDI made <date> with Quenby E-Roll converter" + `ending` (CreditEnding).
std::string ERollCreditText(std::string_view date, std::string_view ending);

}  // namespace tarvelo
