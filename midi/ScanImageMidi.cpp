#include "midi/ScanImageMidi.h"

#include "midi/CreditDate.h"
#include "midi/VersionText.h"
#include "settings/GeneralSettings.h"

namespace tarvelo {

std::string ScanImageCreditText(std::string_view date) {
  return "Conversion to ScanImage MIDI made " + std::string(date) + " with Quenby CIS converter - " +
         std::string(kMakerWebAddress);
}

MidiOutputResult WriteScanImageMidi(const MidiOutputSource& source, const CTrackEventArrays& events,
                                    const CKeywordList& keywords, UiServices& ui) {
  ui.SetStatusText("Writing Output MIDI File");
  const CGeneralSettings settings(ui.Profile());
  const std::string path =
      source.OutputFolder + settings.ScanMidiFilePrefix + source.FileName + settings.ScanMidiFileSuffix + ".mid";
  const int tempo = UsableTempo(source.Tempo, path, ui);

  CMidiFileWriter writer;
  BeginMidiFile(writer, path, tempo, source.RollInfo, settings.MidiCopyrightInfoString);
  writer.AddTextEvent(0, ScanImageCreditText(CreditDateText()));
  writer.AddTextEvent(0, CVersionText().FullText());
  writer.AddInstrumentName(0, source.RollType.Name + " Roll Type Scan Image");
  for (const std::string& text : source.RollInfo.EmbeddedTexts()) writer.AddTextEvent(0, text);
  for (const TrackEvent& event : events.Events())
    if (event.Type == kEventText) writer.AddTextEvent(0, event.Text);
  for (int i = 0; i < keywords.Count(); ++i) writer.AddTextEvent(0, keywords.ItemText(i));

  EventWalkOptions walk;
  walk.LeadInTicks = LeadInTicks(settings.ScanMidiLeadInTime, tempo);
  WriteEventWalk(writer, events, source.RollType, walk, ui);
  return FinishMidiFile(writer, ui);
}

}  // namespace tarvelo
