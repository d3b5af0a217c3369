#include "midi/ScanImageMidi.h"

#include "midi/CreditDate.h"
#include "midi/MidiOutputPath.h"

namespace tarvelo {

std::string ScanImageCreditText(std::string_view date, std::string_view ending) {
  return "Conversion to ScanImage MIDI made " + std::string(date) + " with Quenby CIS converter" + std::string(ending);
}

RollTiming ScanImageFileTiming(const EventList& events, const GeneralSettings& settings, int tempo) {
  const int file_tempo = tempo >= 4 ? tempo : 100;  // as UsableTempo
  const uint32_t first_position = events.empty() ? 0 : events[FirstPlayableEvent(events)].YPosition;
  return RollTiming(file_tempo, LeadInTicks(settings.ScanMidiLeadInTime, file_tempo), first_position);
}

MidiOutputResult WriteScanImageMidi(const MidiOutputSource& source, const EventList& events,
                                    const KeywordList& keywords, Reporter& reporter) {
  reporter.SetStatusText("Writing Output MIDI File");
  const GeneralSettings& settings = source.General;
  const std::string path = MidiOutputPath(MidiOutputKind::kScanImage, source.OutputFolder, source.FileName,
                                          source.General, source.ERoll, source.Outputs);
  const int tempo = UsableTempo(source.Tempo, path, reporter);

  MidiFileWriter writer;
  BeginMidiFile(writer, tempo, source);
  writer.AddText(0, MetaText::kText, ScanImageCreditText(CreditDateText(), CreditEnding(source.Outputs)));
  writer.AddText(0, MetaText::kText, VersionEventText(source.Outputs));
  writer.AddText(0, MetaText::kInstrumentName, source.RollType.Name + " Roll Type Scan Image");
  for (const std::string& text : RollInfoTextEvents(source)) writer.AddText(0, MetaText::kText, text);
  for (const TrackEvent& event : events)
    if (event.Kind == EventKind::kText) writer.AddText(0, MetaText::kText, event.Text);
  for (int i = 0; i < keywords.Count(); ++i) writer.AddText(0, MetaText::kText, keywords.ItemText(i));

  EventWalkOptions walk;
  walk.LeadInTicks = LeadInTicks(settings.ScanMidiLeadInTime, tempo);
  WriteEventWalk(writer, events, source.RollType, walk, reporter);
  return FinishMidiFile(writer, path, reporter);
}

}  // namespace tarvelo
