#include "midi/MidiOutput.h"

#include <algorithm>

#include "midi/VersionText.h"
#include "settings/SettingsTable.h"
#include "support/ProgramVersion.h"
#include "support/SafeTruncate.h"
#include "support/TextTrim.h"

namespace tarvelo {

namespace {

// 60000000 / 4 is the largest tempo value within the 24 bits of a MIDI tempo event.
constexpr int kLowestTempo = 4;

bool IsMidiTrack(int32_t track) { return track >= 0 && track <= 127; }

std::string UnhandledEventText(const TrackEvent& event) {
  return "Unhandled Event Encountered : \n Event Type = " + std::to_string(EventKindCode(event.Kind)) +
         "\n Event Y Position = " + std::to_string(event.YPosition) + "\n Event Text = " + event.Text;
}

void WriteText(MidiFileWriter& writer, int64_t tick, MetaText type, const TrackEvent& event) {
  writer.AddText(tick, type, event.Text);
}

}  // namespace

int64_t LeadInTicks(int seconds, int tempo) { return TruncToInt64(seconds * 480.0 * tempo / 60); }

uint32_t MicrosecondsPerQuarter(int tempo) { return tempo > 0 ? static_cast<uint32_t>(60000000 / tempo) : 0; }

int UsableTempo(int tempo, const std::string& path, Reporter& reporter) {
  if (tempo >= kLowestTempo) return tempo;
  reporter.ShowMessage(MessageKind::kWarning, "The roll tempo " + std::to_string(tempo) +
                                                  " cannot be written to a MIDI file; " + path +
                                                  " is written at tempo 100.");
  return 100;
}

size_t FirstPlayableEvent(const EventList& events) {
  for (size_t i = 0; i < events.size(); ++i)
    if (IsMidiTrack(events[i].Track) && IsChannelEvent(events[i].Kind)) return i;
  return 0;
}

std::string TrackNameText(const RollInfo& info) {
  return info.Title + " - " + info.RollManufacturer + " " + info.RollClass + " # " + info.RollNumber;
}

int64_t WriteEventWalk(MidiFileWriter& writer, const EventList& events, const RollTypeDefinition& roll,
                       const EventWalkOptions& options, Reporter& reporter) {
  const size_t first_playable = FirstPlayableEvent(events);
  int64_t now = 0;       // file tick of the last event placed
  int64_t previous = 0;  // roll tick of the last event placed
  for (size_t i = 0; i < events.size(); ++i) {
    const TrackEvent& event = events[i];
    if (!IsMidiTrack(event.Track) || event.Kind == EventKind::kText) continue;
    const int64_t tick = EventTick(event.YPosition);
    const auto slot = static_cast<size_t>(event.Track);
    const int channel = roll.TrackMidiChannel[slot];
    const int note = options.NoteFromPitchMap ? roll.TrackMidiPitch[slot] : event.Track;

    int64_t at = now;
    if (i == first_playable) {
      if (options.PowerRollStart) {
        writer.AddNoteOn(now, 0, 1, 1);
        writer.AddNoteOff(now + 100, 0, 1);
        at = now + 100 + 100 + options.LeadInTicks;
      } else {
        at = now + options.LeadInTicks;
      }
    } else if (i > first_playable) {
      at = now + (tick - previous);
    }
    // An event the list would put before the file's start (a list not in order) is put on
    // tick 0 by the writer, which counts it, and the walk goes on from there.
    const int64_t placed = std::max<int64_t>(at, 0);

    switch (event.Kind) {
      case EventKind::kNoteOff:
        writer.AddNoteOff(at, channel, note);
        if (options.SustainOnNote18 && note == 18) writer.AddController(placed, channel, 64, 0);
        break;
      case EventKind::kNoteOn:
        writer.AddNoteOn(at, channel, note, event.Value);
        if (options.SustainOnNote18 && note == 18) writer.AddController(placed, channel, 64, 127);
        break;
      case EventKind::kSustainPedal:
        writer.AddController(at, channel, 64, event.Value);
        break;
      case EventKind::kSoftPedal:
        writer.AddController(at, channel, 67, event.Value);
        break;
      case EventKind::kCopyright:
        WriteText(writer, at, MetaText::kCopyright, event);
        break;
      case EventKind::kTrackName:
        WriteText(writer, at, MetaText::kTrackName, event);
        break;
      case EventKind::kInstrumentName:
        WriteText(writer, at, MetaText::kInstrumentName, event);
        break;
      case EventKind::kLyric:
        WriteText(writer, at, MetaText::kLyric, event);
        break;
      case EventKind::kMarker:
        WriteText(writer, at, MetaText::kMarker, event);
        break;
      case EventKind::kTempo:
        writer.AddTempo(at, static_cast<uint32_t>(event.TempoValue));
        break;
      default:
        writer.AddController(at, channel, 4, event.Value);
        reporter.ShowMessage(MessageKind::kWarning, UnhandledEventText(event));
        break;
    }
    now = placed;
    previous = tick;
  }
  return now;
}

std::vector<std::string> RollInfoTextEvents(const MidiOutputSource& source) {
  return source.RollInformation.EmbeddedTexts(!source.Outputs.LiteralRollInfo);
}

std::string CreditEnding(const OutputSettings& outputs) {
  if (outputs.LiteralRollInfo) return " - " + std::string(kMakerWebAddress);
  const std::string_view address = TrimWhiteSpace(outputs.CreditWebAddress);
  return address.empty() ? "" : " - " + std::string(address);
}

std::string VersionEventText(const OutputSettings& outputs) {
  const VersionText version;
  if (outputs.LiteralRollInfo) return version.FullText();
  const std::string build = ProgramBuild();
  return version.ProgramName + " - Version " + ProgramVersion() + (build.empty() ? "" : " - build " + build);
}

void BeginMidiFile(MidiFileWriter& writer, int tempo, const MidiOutputSource& source) {
  writer.AddTempo(0, MicrosecondsPerQuarter(tempo));
  writer.AddText(0, MetaText::kTrackName, TrackNameText(source.RollInformation));
  const std::string& copyright = source.General.MidiCopyrightInfoString;
  const SettingRule* shipped = FindSettingRule(GeneralSettings::kSection, "MidiCopyrightInfoString");
  const bool placeholder = TrimWhiteSpace(copyright).empty() || (shipped && copyright == shipped->Default);
  if (source.Outputs.LiteralRollInfo || !placeholder) writer.AddText(0, MetaText::kCopyright, copyright);
}

MidiOutputResult FinishMidiFile(const MidiFileWriter& writer, const std::string& path, Reporter& reporter) {
  MidiOutputResult result;
  result.Path = path;
  result.Outcome = writer.WriteFile(path);
  if (!result.Outcome.ok()) {
    reporter.ShowMessage(MessageKind::kError, result.Outcome.message());
    return result;
  }
  const std::string problems = writer.ProblemText(path);
  if (!problems.empty()) reporter.ShowMessage(MessageKind::kWarning, problems);
  return result;
}

}  // namespace tarvelo
