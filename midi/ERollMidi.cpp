#include "midi/ERollMidi.h"

#include "events/EventBuilding.h"
#include "midi/CreditDate.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

// trunc(tempo * seconds * 480 / 60).
int64_t TrailerTicks(int tempo, int seconds) { return TruncToInt64(static_cast<double>(tempo) * seconds * 480 / 60); }

}  // namespace

std::string ERollCreditText(std::string_view date, std::string_view ending) {
  return "Conversion to eRoll MIDI made " + std::string(date) + " with Quenby E-Roll converter" + std::string(ending);
}

MidiOutputResult WriteERollMidi(const MidiOutputSource& source, TrackEventArrays& events, KeywordList& keywords,
                                Reporter& reporter) {
  reporter.SetStatusText("Writing Output MIDI File");
  const ERollSettings& settings = source.ERoll;
  const RollTypeDefinition& roll = source.RollType;
  const std::string path =
      source.OutputFolder + settings.eRollMidiFilePrefix + source.FileName + settings.eRollMidiFileSuffix + ".mid";
  const int tempo = UsableTempo(source.Tempo, path, reporter);

  if (roll.ApplyAccelerationToTempo) {
    AddTempoAccelerationEvents(events, roll, tempo);
    keywords.AddKeyReal("/eRollTempoAcceleration:", roll.TakeupSpoolAccelerationPctPerFoot, "PctPerFoot",
                        " for takeup-spool acceleration");
  }
  MidiFileWriter writer;
  BeginMidiFile(writer, path, tempo, source);
  for (const std::string& text : RollInfoTextEvents(source)) writer.AddTextEvent(0, text);
  keywords.AddKeyValue("/Source_File_Type:", "CIS");
  keywords.AddKeyValue("/File_Type:", "eRollMIDI file");
  keywords.AddKeyValue("/Processing_History:", " CIS --> eRollMIDI ");
  writer.AddTextEvent(0, "Roll Template Type Used = " + roll.Name);
  writer.AddTextEvent(0, ERollCreditText(CreditDateText(), CreditEnding(source.Outputs)));
  writer.AddTextEvent(0, VersionEventText(source.Outputs));
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
