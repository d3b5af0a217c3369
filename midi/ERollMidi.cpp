#include "midi/ERollMidi.h"

#include "events/EventBuilding.h"
#include "midi/CreditDate.h"
#include "midi/VersionText.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

// trunc(tempo * seconds * 480 / 60).
int64_t TrailerTicks(int tempo, int seconds) { return TruncToInt64(static_cast<double>(tempo) * seconds * 480 / 60); }

}  // namespace

std::string ERollCreditText(std::string_view date) {
  return "Conversion to eRoll MIDI made " + std::string(date) + " with Quenby E-Roll converter - " +
         std::string(kMakerWebAddress);
}

void PrepareERollFile(const RollTypeDefinition& roll, int tempo, TrackEventArrays& events, KeywordList& keywords) {
  if (roll.ApplyAccelerationToTempo) {
    AddTempoAccelerationEvents(events, roll, RollTiming::FileTempo(tempo));
    keywords.AddKeyReal("/eRollTempoAcceleration:", roll.TakeupSpoolAccelerationPctPerFoot, "PctPerFoot",
                        " for takeup-spool acceleration");
  }
  keywords.AddKeyValue("/Source_File_Type:", "CIS");
  keywords.AddKeyValue("/File_Type:", "eRollMIDI file");
  keywords.AddKeyValue("/Processing_History:", " CIS --> eRollMIDI ");
}

RollTiming ERollFileTiming(const TrackEventArrays& events, const ERollSettings& settings, int tempo) {
  const int file_tempo = RollTiming::FileTempo(tempo);
  int64_t start = LeadInTicks(settings.eRollMidiLeadInTime, file_tempo);
  if (settings.IncludePowerRollEvents) start += 200;  // the start marker, 100 ticks long, and 100 after it
  std::vector<RollTiming::TempoChange> changes;
  for (const TrackEvent& event : events.Events())
    if (event.Type == kEventTempo) changes.push_back({event.YPosition, static_cast<uint32_t>(event.TempoValue)});
  const int first = FirstPlayableEvent(events);
  const uint32_t first_position = events.EventCount() > 0 ? events.Event(first).YPosition : 0;
  return RollTiming(file_tempo, start, first_position, std::move(changes));
}

int64_t ERollFileEndTick(const TrackEventArrays& events, const ERollSettings& settings, const RollTiming& timing) {
  // The last event the walk writes, on the tick the walk gives it (those before the first
  // playable event are written at tick 0).
  const int first = FirstPlayableEvent(events);
  int64_t last = 0;
  for (int i = events.EventCount() - 1; i >= 0; --i) {
    const TrackEvent& event = events.Event(i);
    if (event.Track < 0 || event.Track > 127 || event.Type == kEventEmpty || event.Type == kEventText) continue;
    if (i >= first) last = timing.TickOfPosition(event.YPosition);
    break;
  }
  const int64_t end = last + TrailerTicks(timing.Tempo(), settings.eRollMidiTrailerTime);
  return settings.IncludePowerRollEvents ? end + 110 : end;
}

MidiOutputResult WriteERollMidi(const MidiOutputSource& source, TrackEventArrays& events, KeywordList& keywords,
                                Reporter& reporter) {
  reporter.SetStatusText("Writing Output MIDI File");
  const ERollSettings& settings = source.ERoll;
  const GeneralSettings& general = source.General;
  const RollTypeDefinition& roll = source.RollType;
  const std::string path =
      source.OutputFolder + settings.eRollMidiFilePrefix + source.FileName + settings.eRollMidiFileSuffix + ".mid";
  const int tempo = UsableTempo(source.Tempo, path, reporter);

  PrepareERollFile(roll, tempo, events, keywords);
  MidiFileWriter writer;
  BeginMidiFile(writer, path, tempo, source.RollInformation, general.MidiCopyrightInfoString);
  for (const std::string& text : source.RollInformation.EmbeddedTexts()) writer.AddTextEvent(0, text);
  writer.AddTextEvent(0, "Roll Template Type Used = " + roll.Name);
  writer.AddTextEvent(0, ERollCreditText(CreditDateText()));
  writer.AddTextEvent(0, VersionText().FullText());
  for (const TrackEvent& event : events.Events())
    if (event.Type == kEventText) writer.AddTextEvent(0, event.Text);
  for (int i = 0; i < keywords.Count(); ++i) writer.AddTextEvent(0, keywords.ItemText(i));
  writer.AddProgramChange(0, roll.ChannelInstrument[0]);
  for (int channel = 1; channel < kMidiChannels; ++channel) {
    const int instrument = roll.ChannelInstrument[static_cast<size_t>(channel)];
    if (instrument != 0) writer.AddProgramChange(channel, instrument);
  }

  EventWalkOptions walk;
  walk.NoteFromPitchMap = true;
  walk.LeadInTicks = LeadInTicks(settings.eRollMidiLeadInTime, tempo);
  walk.PowerRollStart = settings.IncludePowerRollEvents;
  walk.SustainOnNote18 = settings.IncludeTrack18SustainPedal;
  WriteEventWalk(writer, events, roll, walk, reporter);

  const int64_t trailer = TrailerTicks(tempo, settings.eRollMidiTrailerTime);
  if (settings.IncludePowerRollEvents) {
    writer.AddNoteOn(trailer, 0, 0, 1);
    writer.AddNoteOff(100, 0, 0);
    writer.AddAllSoundOff(10);
  } else {
    writer.AddAllSoundOff(trailer);
  }
  return FinishMidiFile(writer, reporter);
}

}  // namespace tarvelo
