#include "cli/ListenRun.h"

#include <cstdio>

#include "audio/ScratchFolder.h"
#include "cli/BatchJob.h"
#include "cli/MessageLines.h"
#include "document/TarveloDoc.h"
#include "midi/ERollMidi.h"
#include "midi/MidiFileReader.h"
#include "midi/ScanImageMidi.h"
#include "rolltypes/RollTypeDefinition.h"
#include "support/AtomicFile.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace {

// The output a roll is heard by, as the summary names it, and as the user is told.
struct SourceOutput {
  const char* Kind;
  const char* Name;
};

SourceOutput OutputOfSource(const std::string& source) {
  if (source == "scanimage") return {"ScanImageMIDI", "ScanImage MIDI"};
  if (source == "expression") return {"ExpressionMIDI", "expression MIDI"};
  return {"eRollMIDI", "eRoll MIDI"};
}

// The output heard when --source is not given: the expression file when the roll type the
// roll was converted as has an expression system (it plays the roll's dynamics and pedals),
// else the eRoll file.
std::string DefaultSource(const RollTypeDefinition& roll_type) {
  return roll_type.Expression.System == ExpressionSystem::kNone ? "eroll" : "expression";
}

}  // namespace

int ConvertForListening(const ListenOptions& options, RunProfile& profile, HeardRoll& heard) {
  BatchJob job;
  job.Settings = profile.Settings();
  job.RollInfoTemplate = RollInfo(profile.Store());
  if (!PrepareRollType(RollTypeChoice{options.library, options.roll_type, options.align, options.no_align}, job))
    return kExitUsage;
  // Only the file heard is written, and only into a folder of the command's own: listening
  // leaves nothing beside the roll.
  // Without --source the roll type decides; when it is recognised during the conversion, both
  // the eRoll and the expression file are made and the roll type found picks one.
  std::string source_name = options.source;
  if (source_name.empty() && !job.Alignment.RecogniseRollType) source_name = DefaultSource(job.RollType);
  const bool scan_image = source_name == "scanimage";
  job.Settings.Outputs.ScanMidi = scan_image;
  job.Settings.Outputs.eRollMidi = !scan_image;
  job.Settings.Outputs.WriteExpressionMidi = source_name == "expression" || source_name.empty();
  job.SkipScanImage = !scan_image;
  job.SkipERoll = scan_image;
  job.Settings.Diagnostic.WriteCISrawTransitionFile = false;
  job.Settings.Diagnostic.WriteTrackLookUpMapFile = false;
  const ScratchFolder scratch;
  if (scratch.Path().empty()) {
    std::fprintf(stderr, "tarvelo-cli: no folder can be made in the temporary folder for the conversion\n");
    return kExitFileFailed;
  }
  BatchInput input;
  input.Path = options.file;
  input.OutputFolder = Utf8FromPath(scratch.Path()) + "/";
  // The clock of the file heard, from the event list it was written from (the expression file
  // keeps the eRoll file's clock).
  const bool eroll = !scan_image;
  RollTiming timing(100);
  const FileOutcome outcome = ConvertBatchFile(input, job, [&](const TarveloDoc& doc) {
    const int tempo = doc.ScanData().Header.Tempo;
    if (source_name.empty()) source_name = DefaultSource(doc.RollType());
    timing = eroll ? ERollFileTiming(doc.ERollEvents(), job.Settings.ERoll, tempo)
                   : ScanImageFileTiming(doc.ScanImageEvents(), job.Settings.General, tempo);
  });
  for (const ReportedMessage& message : outcome.Messages)
    std::fputs(PrefixedLines(outcome.Input, message.Text).c_str(), stderr);
  if (outcome.Status == FileStatus::kFailed || outcome.Status == FileStatus::kStopped) return kExitFileFailed;

  const SourceOutput source = OutputOfSource(source_name);
  const OutputReport* heard_output = nullptr;
  for (const OutputReport& output : outcome.Outputs)
    if (output.Record.Kind == source.Kind && output.Record.Outcome.ok()) heard_output = &output;
  if (heard_output == nullptr) {
    std::fprintf(stderr, "tarvelo-cli: %s: the conversion wrote no %s file to listen to\n", options.file.c_str(),
                 source.Name);
    return kExitFileFailed;
  }
  std::string bytes;
  MidiFileContents file;
  Result read = ReadWholeFile(heard_output->Record.Path, bytes);
  if (read.ok()) read = ReadMidiFile(bytes, file);
  if (!read.ok()) {
    std::fprintf(stderr, "tarvelo-cli: %s: %s\n", options.file.c_str(), read.message().c_str());
    return kExitFileFailed;
  }
  heard.Source = source.Name;
  heard.Timing = timing;
  heard.Schedule = PlaybackSchedule::OfMidiFile(file, heard.Timing);
  heard.ConversionStatus = outcome.Status == FileStatus::kConvertedWithWarnings ? kExitWarnings : kExitOk;
  return kExitOk;
}

}  // namespace tarvelo::cli
