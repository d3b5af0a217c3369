#include "midi/ExpressionMidi.h"

#include <algorithm>

#include "midi/CreditDate.h"
#include "midi/ERollMidi.h"
#include "midi/MidiOutputPath.h"
#include "midi/VersionText.h"

namespace tarvelo {

std::string ExpressionCreditText(std::string_view date, std::string_view ending) {
  return "Conversion to expression MIDI made " + std::string(date) + " with Tarvelo" + std::string(ending);
}

MidiOutputResult WriteExpressionMidi(const MidiOutputSource& source, const EventList& eroll_events,
                                     const KeywordList& keywords, const ExpressionPerformance& performance,
                                     const RollTiming& timing, Reporter& reporter) {
  reporter.SetStatusText("Writing Output MIDI File");
  const RollTypeDefinition& roll = source.RollType;
  const OutputSettings& outputs = source.Outputs;
  const std::string path = MidiOutputPath(MidiOutputKind::kExpression, source.OutputFolder, source.FileName,
                                          source.General, source.ERoll, source.Outputs);
  const int tempo = UsableTempo(source.Tempo, path, reporter);

  MidiFileWriter writer;
  BeginMidiFile(writer, tempo, source);
  const auto text = [&writer](const std::string& value) { writer.AddText(0, MetaText::kText, value); };
  for (const std::string& value : RollInfoTextEvents(source)) text(value);
  text("Roll Template Type Used = " + roll.Name);
  text(ExpressionCreditText(CreditDateText(), CreditEnding(outputs)));
  text(VersionEventText(outputs));
  for (const TrackEvent& event : eroll_events)
    if (event.Kind == EventKind::kText) text(event.Text);
  for (int i = 0; i < keywords.Count(); ++i) text(keywords.ItemText(i));
  text("/expression_model: " + performance.Model);
  writer.AddProgramChange(0, 0, 0);
  for (const int channel : performance.Channels)
    if (channel != 0) writer.AddProgramChange(0, channel, 0);

  // The eRoll file's tempo events on their ticks, each before the performance's events of its tick.
  std::vector<std::pair<int64_t, uint32_t>> tempos;
  const size_t first = FirstPlayableEvent(eroll_events);
  for (size_t i = 0; i < eroll_events.size(); ++i) {
    const TrackEvent& event = eroll_events[i];
    if (event.Kind != EventKind::kTempo || event.Track < 0 || event.Track > 127) continue;
    tempos.emplace_back(i < first ? 0 : timing.TickOfPosition(event.YPosition),
                        static_cast<uint32_t>(event.TempoValue));
  }
  // Controllers 64 and 67 still down at the end are released there.
  bool down[kMidiChannels][2] = {};
  size_t next_tempo = 0;
  const auto write_tempos_to = [&](int64_t tick) {
    for (; next_tempo < tempos.size() && tempos[next_tempo].first <= tick; ++next_tempo)
      writer.AddTempo(tempos[next_tempo].first, tempos[next_tempo].second);
  };
  for (const PerformedEvent& event : performance.Events) {
    write_tempos_to(event.Tick);
    switch (event.Type) {
      case PerformedEvent::Kind::kNoteOn:
        writer.AddNoteOn(event.Tick, event.Channel, event.Data1, event.Data2);
        break;
      case PerformedEvent::Kind::kNoteOff:
        writer.AddNoteOff(event.Tick, event.Channel, event.Data1);
        break;
      case PerformedEvent::Kind::kController:
        writer.AddController(event.Tick, event.Channel, event.Data1, event.Data2);
        if (event.Channel < kMidiChannels && (event.Data1 == 64 || event.Data1 == 67))
          down[event.Channel][event.Data1 == 64 ? 0 : 1] = event.Data2 >= 64;
        break;
    }
  }
  const int64_t end = std::max(ERollFileEndTick(eroll_events, source.ERoll, timing), writer.LastTick());
  write_tempos_to(end);
  for (int channel = 0; channel < kMidiChannels; ++channel) {
    if (down[channel][0]) writer.AddController(end, channel, 64, 0);
    if (down[channel][1]) writer.AddController(end, channel, 67, 0);
  }
  writer.AddAllSoundOff(end);
  return FinishMidiFile(writer, path, reporter);
}

}  // namespace tarvelo
