#include "midi/ScanImageMidi.h"

#include "midi/CreditDate.h"

namespace tarvelo {

std::string ScanImageCreditText(std::string_view date, std::string_view ending) {
  return "Conversion to ScanImage MIDI made " + std::string(date) + " with Quenby CIS converter" + std::string(ending);
}

MidiOutputResult WriteScanImageMidi(const MidiOutputSource& source, const TrackEventArrays& events,
                                    const KeywordList& keywords, Reporter& reporter) {
  reporter.SetStatusText("Writing Output MIDI File");
  const GeneralSettings& settings = source.General;
  const std::string path =
      source.OutputFolder + settings.ScanMidiFilePrefix + source.FileName + settings.ScanMidiFileSuffix + ".mid";
  const int tempo = UsableTempo(source.Tempo, path, reporter);

  MidiFileWriter writer;
  BeginMidiFile(writer, path, tempo, source);
  writer.AddTextEvent(0, ScanImageCreditText(CreditDateText(), CreditEnding(source.Outputs)));
  writer.AddTextEvent(0, VersionEventText(source.Outputs));
  writer.AddInstrumentName(0, source.RollType.Name + " Roll Type Scan Image");
  for (const std::string& text : RollInfoTextEvents(source)) writer.AddTextEvent(0, text);
  for (const TrackEvent& event : events.Events())
    if (event.Type == kEventText) writer.AddTextEvent(0, event.Text);
  for (int i = 0; i < keywords.Count(); ++i) writer.AddTextEvent(0, keywords.ItemText(i));

  EventWalkOptions walk;
  walk.LeadInTicks = LeadInTicks(settings.ScanMidiLeadInTime, tempo);
  WriteEventWalk(writer, events, source.RollType, walk, reporter);
  return FinishMidiFile(writer, reporter);
}

}  // namespace tarvelo
