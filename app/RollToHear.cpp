#include "app/RollToHear.h"

#include <algorithm>
#include <cmath>

#include "audio/ScratchFolder.h"
#include "expression/ERollNotes.h"
#include "expression/PerformExpression.h"
#include "midi/ERollMidi.h"
#include "midi/ExpressionMidi.h"
#include "midi/MidiFileReader.h"
#include "support/AtomicFile.h"
#include "support/Utf8Path.h"

namespace tarvelo::app {

namespace {

// Listening makes its file without a word: what it would report was reported by the run.
class QuietReporter : public Reporter {
 public:
  void SetStatusText(std::string_view) override {}
  void SetProgress(int, int) override {}
  void ShowMessage(MessageKind, std::string_view) override {}
};

const OutputFileRecord* WrittenOutput(const ConversionSummary& summary, const char* kind) {
  for (const OutputFileRecord& output : summary.Outputs)
    if (output.Kind == kind && output.Outcome.ok()) return &output;
  return nullptr;
}

Result ReadSchedule(const std::string& path, const RollTiming& timing, RollToHear& heard) {
  std::string bytes;
  MidiFileContents file;
  Result read = ReadWholeFile(path, bytes);
  if (read.ok()) read = ReadMidiFile(bytes, file);
  if (!read.ok()) return read;
  heard.Timing = timing;
  heard.Schedule = PlaybackSchedule::OfMidiFile(file, timing);
  return Result::Ok();
}

// The expression file of the last run, made as the run makes it, in a scratch folder.
Result HearExpressionMadeNow(const TarveloDoc& doc, const RunSettings& settings, int tempo,
                             const RollTypeDefinition& roll_type, const RollTiming& timing, RollToHear& heard) {
  const ScratchFolder scratch;
  if (scratch.Path().empty()) return Result::IoError("no folder can be made in the temporary folder for listening");
  const std::string folder = Utf8FromPath(scratch.Path()) + "/";
  const ExpressionPerformance performance = PerformExpression(roll_type, ERollNotes(doc.ERollEvents(), timing), timing,
                                                              settings.ERoll.IncludeTrack18SustainPedal);
  const MidiOutputSource source{folder,           doc.FileName(), tempo,           roll_type, doc.RollInformation(),
                                settings.General, settings.ERoll, settings.Outputs};
  QuietReporter quiet;
  const MidiOutputResult written =
      WriteExpressionMidi(source, doc.ERollEvents(), doc.Keywords(), performance, timing, quiet);
  if (!written.Outcome.ok()) return written.Outcome;
  return ReadSchedule(written.Path, timing, heard);
}

}  // namespace

Result ChooseRollToHear(const TarveloDoc& doc, const RunSettings& settings, int tempo,
                        const RollTypeDefinition& roll_type, RollToHear& heard) {
  const ConversionSummary& summary = doc.Summary();
  if (doc.ERollEvents().empty()) {
    return Result::NotFound(
        "The last conversion made no eRoll notes to play: check eRollMIDI or ExpressionMIDI and Re-Process.");
  }
  const RollTiming timing = ERollFileTiming(doc.ERollEvents(), settings.ERoll, tempo);
  if (roll_type.Expression.System != ExpressionSystem::kNone) {
    heard.Source = "expression MIDI";
    if (const OutputFileRecord* written = WrittenOutput(summary, "ExpressionMIDI"))
      return ReadSchedule(written->Path, timing, heard);
    return HearExpressionMadeNow(doc, settings, tempo, roll_type, timing, heard);
  }
  heard.Source = "eRoll MIDI";
  if (const OutputFileRecord* written = WrittenOutput(summary, "eRollMIDI"))
    return ReadSchedule(written->Path, timing, heard);
  // Only the expression file was written: it plays the eRoll velocities for this roll type.
  if (const OutputFileRecord* written = WrittenOutput(summary, "ExpressionMIDI")) {
    heard.Source = "expression MIDI";
    return ReadSchedule(written->Path, timing, heard);
  }
  return Result::NotFound("The last conversion wrote no MIDI file to play: check eRollMIDI and Re-Process.");
}

double SecondsAtRollInch(const RollTiming& timing, double inches) {
  if (!(inches > 0)) return 0;
  const double thousandths = std::min(inches * 1000.0, 4.0e9);
  return timing.SecondsAtTick(static_cast<double>(timing.TickOfPosition(static_cast<uint32_t>(thousandths))));
}

}  // namespace tarvelo::app
