#pragma once
// What the two MIDI outputs (ScanImage and eRoll) share: their inputs and result, the time
// base, the credit and roll information texts, the walk that turns the event list into
// MIDI events, and finishing the file.
//
// Time base: 480 ticks per quarter note, one quarter note per 1.2 inches of roll, so an
// event at y thousandths of an inch lies at tick trunc(y * 480 / 1200) and the file plays
// the roll at tempo / 10 feet per minute.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cis/RollInfo.h"
#include "events/TrackEvent.h"
#include "midi/MidiFileWriter.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/OutputSettings.h"

namespace tarvelo {

// The web address the credit texts have always ended with; files written with
// OutputFiles/LiteralRollInfo keep it, the others name OutputFiles/CreditWebAddress or none.
inline constexpr std::string_view kMakerWebAddress = "https://tarvelo.example.org";

// What both outputs read from the document.
struct MidiOutputSource {
  const std::string& OutputFolder;  // where the file goes, ending in a separator ("" = working folder)
  const std::string& FileName;      // the input file's name up to its first "."
  int Tempo;                        // roll tempo: quarter notes per minute
  const RollTypeDefinition& RollType;
  const RollInfo& RollInformation;
  const GeneralSettings& General;  // ScanImage naming and lead-in, the copyright text
  const ERollSettings& ERoll;      // eRoll naming, lead-in, trailer and controller events
  const OutputSettings& Outputs;   // how the files describe themselves (LiteralRollInfo, CreditWebAddress)
};

// How the files describe themselves. Literally (OutputFiles/LiteralRollInfo), every roll
// information text, the copyright text, the credit ending in kMakerWebAddress and the version
// text of VersionText, as the converter always wrote them. Otherwise nothing is claimed that
// nobody said: roll information entries that still hold their template's placeholder
// (RollInfo::HoldsPlaceholder) and a copyright text that is empty or still the shipped default
// are left out, the credit ends in CreditWebAddress (or in nothing), and the version text names
// the release and the build (support/ProgramVersion.h).
std::vector<std::string> RollInfoTextEvents(const MidiOutputSource& source);
// " - " + the web address the credit ends with, or "" for none.
std::string CreditEnding(const OutputSettings& outputs);
std::string VersionEventText(const OutputSettings& outputs);

// What became of one output file.
struct MidiOutputResult {
  std::string Path;  // the file's full path
  Result Outcome;    // ok: the whole file is on disk; else why not (also reported to the user)
};

// Tick of an event position (thousandths of an inch): trunc(y * 480 / 1200). The product is
// formed in 64 bits: in 32-bit arithmetic it would wrap beyond about 745 feet of roll and send
// the later events back in time (a negative delta the file cannot hold).
inline int64_t EventTick(uint32_t y_position) { return static_cast<int64_t>(y_position) * 480 / 1200; }
// trunc(seconds * 480 * tempo / 60), formed as a real number.
int64_t LeadInTicks(int seconds, int tempo);
// Microseconds per quarter note of a tempo: trunc(60000000 / tempo).
uint32_t MicrosecondsPerQuarter(int tempo);

// The tempo the outputs can use. A MIDI tempo holds at most 2^24 - 1 microseconds per
// quarter note, so a roll tempo below 4 (0 or negative included) cannot be written: 100, the
// reader's tempo for a header value it cannot use, is taken instead and the user is told,
// naming `path`, in a warning.
int UsableTempo(int tempo, const std::string& path, Reporter& reporter);

// Index of the first channel event (a note or a pedal) of a track 0..127; 0 when there is none.
size_t FirstPlayableEvent(const EventList& events);

// Title + " - " + manufacturer + " " + class + " # " + number, entries as stored.
std::string TrackNameText(const RollInfo& info);

// How the event walk maps and frames the events.
struct EventWalkOptions {
  bool NoteFromPitchMap = false;  // note = TrackMidiPitch[track]; else the track number
  int64_t LeadInTicks = 0;        // ticks before the first playable event
  bool PowerRollStart = false;    // the start marker before the first playable event
  bool SustainOnNote18 = false;   // controller 64 after each note on / off of note 18
};

// Walks the events in order and adds them to `writer`: events of tracks above 127 (or below
// 0) and kText events (the outputs write those with the texts at the start) are left out.
// Events before the first playable one are put on tick 0; the first playable one follows
// after the lead-in (and the PowerRoll start marker, note 1 on channel 0 for 100 ticks, when
// asked); every later one keeps its distance in ticks from it. Channel: TrackMidiChannel of
// the track. A kind the walk does not know is written as controller 4 and reported in a
// warning. Returns the tick of the last event placed (0 when there was none).
int64_t WriteEventWalk(MidiFileWriter& writer, const EventList& events, const RollTypeDefinition& roll,
                       const EventWalkOptions& options, Reporter& reporter);

// Starts a file as both outputs start theirs, everything on tick 0: the tempo, the track
// name from the roll information and the copyright text (left out as RollInfoTextEvents
// describes).
void BeginMidiFile(MidiFileWriter& writer, int tempo, const MidiOutputSource& source);

// Writes the file to `path` (temporary file, then rename). When it could not be written the
// user is told why (an error) and no file is left; when values had to be adjusted to fit the
// MIDI format the user is told once (a warning). Returns what became of the file.
MidiOutputResult FinishMidiFile(const MidiFileWriter& writer, const std::string& path, Reporter& reporter);

}  // namespace tarvelo
