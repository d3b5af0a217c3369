#include "midi/MidiOutput.h"

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
  return "Unhandled Event Encountered : \n Event Type = " + std::to_string(event.Type) +
         "\n Event Y Position = " + std::to_string(event.YPosition) + "\n Event Text = " + event.Text;
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

int FirstPlayableEvent(const TrackEventArrays& events) {
  for (int i = 0; i < events.EventCount(); ++i) {
    const TrackEvent& event = events.Event(i);
    if (IsMidiTrack(event.Track) && event.Type != kEventEmpty && event.Type < kEventTextBase) return i;
  }
  return 0;
}

std::string TrackNameText(const RollInfo& info) {
  return info.Title + " - " + info.RollManufacturer + " " + info.RollClass + " # " + info.RollNumber;
}

void WriteEventWalk(MidiFileWriter& writer, const TrackEventArrays& events, const RollTypeDefinition& roll,
                    const EventWalkOptions& options, Reporter& reporter) {
  const int first_playable = FirstPlayableEvent(events);
  int64_t previous = 0;
  for (int i = 0; i < events.EventCount(); ++i) {
    const TrackEvent& event = events.Event(i);
    if (!IsMidiTrack(event.Track) || event.Type == kEventEmpty || event.Type == kEventText) continue;
    const int64_t tick = EventTick(event.YPosition);
    const auto slot = static_cast<size_t>(event.Track);
    const int channel = roll.TrackMidiChannel[slot];
    const int note = options.NoteFromPitchMap ? roll.TrackMidiPitch[slot] : event.Track;

    int64_t delta;
    if (i < first_playable) {
      delta = 0;
    } else if (i == first_playable) {
      delta = options.LeadInTicks;
      if (options.PowerRollStart) {
        writer.AddNoteOn(0, 0, 1, 1);
        writer.AddNoteOff(100, 0, 1);
        delta = 100 + options.LeadInTicks;
      }
    } else {
      delta = tick - previous;
    }

    switch (event.Type) {
      case kEventNoteOff:
        writer.AddNoteOff(delta, channel, note);
        if (options.SustainOnNote18 && note == 18) writer.AddController(0, channel, 64, 0);
        break;
      case kEventNoteOn:
        writer.AddNoteOn(delta, channel, note, event.Value);
        if (options.SustainOnNote18 && note == 18) writer.AddController(0, channel, 64, 127);
        break;
      case kEventSustainPedal:
        writer.AddController(delta, channel, 64, event.Value);
        break;
      case kEventSoftPedal:
        writer.AddController(delta, channel, 67, event.Value);
        break;
      case kEventTextBase + 2:
        writer.AddCopyrightEvent(delta, event.Text);
        break;
      case kEventTextBase + 3:
        writer.AddTrackNameEvent(delta, event.Text);
        break;
      case kEventTextBase + 4:
        writer.AddInstrumentName(delta, event.Text);
        break;
      case kEventTextBase + 5:
        writer.AddLyric(delta, event.Text);
        break;
      case kEventTextBase + 6:
        writer.AddMarker(delta, event.Text);
        break;
      case kEventTempo:
        writer.AddTempo(delta, static_cast<uint32_t>(event.TempoValue));
        break;
      default:
        writer.AddController(delta, channel, 4, event.Value);
        reporter.ShowMessage(MessageKind::kWarning, UnhandledEventText(event));
        break;
    }
    previous = tick;
  }
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

void BeginMidiFile(MidiFileWriter& writer, const std::string& path, int tempo, const MidiOutputSource& source) {
  writer.SetTempo(tempo);
  writer.SetDivision(480);
  writer.Open(path);
  writer.WriteHeader();
  writer.AddTempo(0, MicrosecondsPerQuarter(tempo));
  writer.AddTrackName(TrackNameText(source.RollInformation));
  const std::string& copyright = source.General.MidiCopyrightInfoString;
  const SettingRule* shipped = FindSettingRule(GeneralSettings::kSection, "MidiCopyrightInfoString");
  const bool placeholder = TrimWhiteSpace(copyright).empty() || (shipped && copyright == shipped->Default);
  if (source.Outputs.LiteralRollInfo || !placeholder) writer.AddCopyright(copyright);
}

MidiOutputResult FinishMidiFile(MidiFileWriter& writer, Reporter& reporter) {
  MidiOutputResult result;
  result.Path = writer.FileName();
  writer.WriteTrack();
  result.Outcome = writer.Close();
  if (!result.Outcome.ok()) {
    reporter.ShowMessage(MessageKind::kError, result.Outcome.message());
    return result;
  }
  const std::string problems = writer.ProblemText();
  if (!problems.empty()) reporter.ShowMessage(MessageKind::kWarning, problems);
  return result;
}

}  // namespace tarvelo
