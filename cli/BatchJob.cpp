#include "cli/BatchJob.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/MidiFacts.h"
#include "document/TarveloDoc.h"
#include "services/MessageHeadline.h"
#include "support/AtomicFile.h"
#include "support/FileLock.h"
#include "support/FileSha256.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace {

FileOutcome Refused(const BatchInput& input, MessageKind kind, FileStatus status, const std::string& text) {
  FileOutcome outcome;
  outcome.Input = input.Path;
  outcome.Bytes = input.Bytes;
  // A file not converted is still catalogued by its checksum.
  outcome.Facts.Sha256 = FileSha256(input.Path);
  outcome.Status = status;
  outcome.Messages.push_back(ReportedMessage{kind, text});
  outcome.Deciding = MessageHeadline(text);
  return outcome;
}

// The first output of `input` that exists already, "" when none does. A link counts even when
// it leads nowhere: writing would create the file it names. A folder, FIFO or device of that
// name is no output: the file is converted, and fails on it.
std::string ExistingOutput(const BatchInput& input) {
  for (const std::string& output : input.Outputs) {
    std::error_code error;
    const auto type = std::filesystem::symlink_status(PathFromUtf8(output), error).type();
    if (type == std::filesystem::file_type::regular || type == std::filesystem::file_type::symlink) return output;
  }
  return "";
}

// A failed file keeps none of the outputs it wrote: a half-good pair would pass for a
// conversion (and a later --no-clobber run would skip the file as done).
void RemoveOutputsOfFailedFile(std::vector<OutputFileRecord>& records, std::vector<ReportedMessage>& messages) {
  for (OutputFileRecord& record : records) {
    if (!record.Outcome.ok()) continue;
    std::error_code error;
    std::filesystem::remove(PathFromUtf8(record.Path), error);
    if (error) {
      messages.push_back(ReportedMessage{MessageKind::kError,
                                         record.Path + " was written but could not be removed: " + error.message()});
      continue;
    }
    record.Outcome = Result::Cancelled("not kept: the file failed");
    messages.push_back(ReportedMessage{MessageKind::kInformation,
                                       "removed " + record.Path + ": the file failed, so no output is kept"});
  }
}

}  // namespace

FileOutcome ConvertBatchFile(const BatchInput& input, const BatchJob& job,
                             const std::function<void(const TarveloDoc&)>& inspect) {
  const auto start = std::chrono::steady_clock::now();
  if (!input.Problem.empty()) return Refused(input, MessageKind::kError, FileStatus::kFailed, input.Problem);
  if (!job.RollTypeError.empty()) return Refused(input, MessageKind::kError, FileStatus::kFailed, job.RollTypeError);
  if (job.NoClobber) {
    if (const std::string existing = ExistingOutput(input); !existing.empty()) {
      return Refused(input, MessageKind::kInformation, FileStatus::kSkipped,
                     existing + " exists; the file is not converted (--no-clobber)");
    }
  }
  if (!input.OutputFolder.empty()) {
    OutputFolders own;
    const Result made = (job.Folders ? *job.Folders : own).Make(input.OutputFolder);
    if (!made.ok()) return Refused(input, MessageKind::kError, FileStatus::kFailed, made.message());
  }

  // Two runs that write the same outputs at once take turns, so that the outputs of a file are
  // always from one input and one run.
  std::optional<FileLock> outputs_lock;
  if (!input.Outputs.empty()) {
    outputs_lock.emplace(input.Outputs.front() + ".lock", FileLock::LockFile::kRemoved);
    if (outputs_lock->Outcome().kind() == Result::Kind::kCancelled)
      return Refused(input, MessageKind::kInformation, FileStatus::kStopped, outputs_lock->Outcome().message());
    if (!outputs_lock->Outcome().ok())
      return Refused(input, MessageKind::kError, FileStatus::kFailed, outputs_lock->Outcome().message());
  }

  FileReporter reporter(job.Entries);
  TarveloDoc doc(reporter, reporter, job.RollInfoTemplate);
  doc.SetRollType(job.RollType);
  doc.SetOutputFolder(input.OutputFolder);
  doc.SetScanImageMidiSkipped(job.SkipScanImage);
  doc.SetERollMidiSkipped(job.SkipERoll);
  doc.SetSpacingHistogramWanted(false);  // the command line never shows it
  doc.SetAlignment(job.Alignment);
  const Result loaded = doc.Load(input.Path, job.Settings);
  if (inspect) inspect(doc);

  FileOutcome outcome;
  outcome.Input = input.Path;
  outcome.Bytes = input.Bytes;
  outcome.Messages = std::move(reporter.Messages());
  outcome.Status = FileStatusOf(doc.Summary().Status);
  if (outcome.Status == FileStatus::kStopped) {
    outcome.Messages.push_back(
        ReportedMessage{MessageKind::kInformation, "stopped before its conversion was finished; nothing was written"});
  }
  if (!loaded.ok()) outcome.LoadError = loaded.message();
  outcome.Counts = doc.Summary();
  outcome.Facts = RollFactsOf(doc, job.Alignment, job.Settings.Diagnostic.OffTrackWarningPercent);
  if (outcome.Facts.Sha256.empty()) outcome.Facts.Sha256 = FileSha256(input.Path);  // refused by its name
  outcome.Counts.Outputs.clear();
  std::vector<OutputFileRecord> records = doc.Summary().Outputs;
  if (outcome.Status == FileStatus::kFailed) RemoveOutputsOfFailedFile(records, outcome.Messages);
  // The conversion's own deciding message, or, when it reported none of the deciding kind, the
  // batch's (a stopped file's note, an output that could not be removed).
  outcome.Deciding = doc.Summary().DecidingMessage.empty() ? DecidingMessage(outcome.Status, outcome.Messages)
                                                           : doc.Summary().DecidingMessage;
  outputs_lock.reset();
  for (const OutputFileRecord& record : records) {
    OutputReport report{record};
    std::string bytes;
    MidiFacts facts;
    if (job.MeasureOutputs && record.Outcome.ok() && ReadWholeFile(record.Path, bytes).ok() &&
        ReadMidiFacts(bytes, facts)) {
      report.Notes = facts.Notes;
      report.Minutes = facts.Minutes;
    }
    outcome.Outputs.push_back(std::move(report));
  }
  for (int i = 0; i < doc.Keywords().Count(); ++i) outcome.Keywords.push_back(doc.Keywords().ItemText(i));
  outcome.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return outcome;
}

}  // namespace tarvelo::cli
