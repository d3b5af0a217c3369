#include "midi/ERollMidi.h"

#include "events/EventBuilding.h"
#include "midi/CreditDate.h"
#include "midi/MidiOutputPath.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

// trunc(tempo * seconds * 480 / 60).
int64_t TrailerTicks(int tempo, int seconds) { return TruncToInt64(static_cast<double>(tempo) * seconds * 480 / 60); }

}  // namespace

std::string ERollCreditText(std::string_view date, std::string_view ending) {
  return "Conversion to eRoll MIDI made " + std::string(date) + " with Quenby E-Roll converter" + std::string(ending);
}

void PrepareERollFile(const RollTypeDefinition& roll, int tempo, EventList& events, KeywordList& keywords) {
  if (roll.ApplyAccelerationToTempo) {
    AddTempoAccelerationEvents(events, roll, RollTiming::FileTempo(tempo));
    keywords.AddKeyReal("/eRollTempoAcceleration:", roll.TakeupSpoolAccelerationPctPerFoot, "PctPerFoot",
                        " for takeup-spool acceleration");
  }
  keywords.AddKeyValue("/Source_File_Type:", "CIS");
  keywords.AddKeyValue("/File_Type:", "eRollMIDI file");
  keywords.AddKeyValue("/Processing_History:", " CIS --> eRollMIDI ");
}

RollTiming ERollFileTiming(const EventList& events, const ERollSettings& settings, int tempo) {
  const int file_tempo = RollTiming::FileTempo(tempo);
  int64_t start = LeadInTicks(settings.eRollMidiLeadInTime, file_tempo);
  if (settings.IncludePowerRollEvents) start += 200;  // the start marker, 100 ticks long, and 100 after it
  std::vector<RollTiming::TempoChange> changes;
  for (const TrackEvent& event : events)
    if (event.Kind == EventKind::kTempo) changes.push_back({event.YPosition, static_cast<uint32_t>(event.TempoValue)});
  const size_t first = FirstPlayableEvent(events);
  const uint32_t first_position = events.empty() ? 0 : events[first].YPosition;
  return RollTiming(file_tempo, start, first_position, std::move(changes));
}

int64_t ERollFileEndTick(const EventList& events, const ERollSettings& settings, const RollTiming& timing) {
  // The last event the walk writes, on the tick the walk gives it (those before the first
  // playable event are written at tick 0).
  const size_t first = FirstPlayableEvent(events);
  int64_t last = 0;
  for (size_t i = events.size(); i-- > 0;) {
    const TrackEvent& event = events[i];
    if (event.Track < 0 || event.Track > 127 || event.Kind == EventKind::kText) continue;
    if (i >= first) last = timing.TickOfPosition(event.YPosition);
    break;
  }
  const int64_t end = last + TrailerTicks(timing.Tempo(), settings.eRollMidiTrailerTime);
  return settings.IncludePowerRollEvents ? end + 110 : end;
}

MidiOutputResult WriteERollMidi(const MidiOutputSource& source, EventList& events, KeywordList& keywords,
                                Reporter& reporter) {
  reporter.SetStatusText("Writing Output MIDI File");
  const ERollSettings& settings = source.ERoll;
  const RollTypeDefinition& roll = source.RollType;
  const std::string path = MidiOutputPath(MidiOutputKind::kERoll, source.OutputFolder, source.FileName, source.General,
                                          source.ERoll, source.Outputs);
  const int tempo = UsableTempo(source.Tempo, path, reporter);

  PrepareERollFile(roll, tempo, events, keywords);
  MidiFileWriter writer;
  BeginMidiFile(writer, tempo, source);
  for (const std::string& text : RollInfoTextEvents(source)) writer.AddText(0, MetaText::kText, text);
  writer.AddText(0, MetaText::kText, "Roll Template Type Used = " + roll.Name);
  writer.AddText(0, MetaText::kText, ERollCreditText(CreditDateText(), CreditEnding(source.Outputs)));
  writer.AddText(0, MetaText::kText, VersionEventText(source.Outputs));
  for (const TrackEvent& event : events)
    if (event.Kind == EventKind::kText) writer.AddText(0, MetaText::kText, event.Text);
  for (int i = 0; i < keywords.Count(); ++i) writer.AddText(0, MetaText::kText, keywords.ItemText(i));
  writer.AddProgramChange(0, 0, roll.ChannelInstrument[0]);
  for (int channel = 1; channel < kMidiChannels; ++channel) {
    const int instrument = roll.ChannelInstrument[static_cast<size_t>(channel)];
    if (instrument != 0) writer.AddProgramChange(0, channel, instrument);
  }

  EventWalkOptions walk;
  walk.NoteFromPitchMap = true;
  walk.LeadInTicks = LeadInTicks(settings.eRollMidiLeadInTime, tempo);
  walk.PowerRollStart = settings.IncludePowerRollEvents;
  walk.SustainOnNote18 = settings.IncludeTrack18SustainPedal;
  const int64_t last = WriteEventWalk(writer, events, roll, walk, reporter);

  const int64_t end = last + TrailerTicks(tempo, settings.eRollMidiTrailerTime);
  if (settings.IncludePowerRollEvents) {
    writer.AddNoteOn(end, 0, 0, 1);
    writer.AddNoteOff(end + 100, 0, 0);
    writer.AddAllSoundOff(end + 110);
  } else {
    writer.AddAllSoundOff(end);
  }
  return FinishMidiFile(writer, path, reporter);
}

}  // namespace tarvelo
