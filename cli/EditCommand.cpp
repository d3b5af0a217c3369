// tarvelo-cli edit FILE.cis [--title T] [--tempo X] [--lpi N] [-o OUT.cis]: corrects the
// header of a CIS file, with the checks of the embedded-data dialog; without -o the file is
// replaced once the new one is complete. Says what it changed.
#include <cstdio>
#include <fstream>

#include "cis/CisFormat.h"
#include "cis/CisHeaderEdit.h"
#include "cli/Commands.h"
#include "cli/TerminalReporter.h"
#include "support/NativeFile.h"
#include "support/TextTrim.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace {

// The three editable values as the file's header holds them now.
struct StoredHeader {
  bool read = false;
  std::string title;
  int tempo = 0;
  int lines_per_inch = 0;
};

StoredHeader ReadStoredHeader(const std::string& path) {
  StoredHeader header;
  // Only a regular file is opened: a FIFO would wait for a writer (the edit refuses it below).
  if (KindOfFile(path) != FileKind::kRegular) return header;
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  uint8_t bytes[cis::kHeaderSize] = {};
  if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return header;
  const std::string area(reinterpret_cast<const char*>(bytes), cis::kTitleAreaSize);
  header.title = std::string(TrimWhiteSpace(std::string_view(area).substr(0, area.find('\0'))));
  header.tempo = cis::ReadI16(bytes + cis::kTempoOffset);
  header.lines_per_inch = cis::ReadI16(bytes + cis::kLinesPerInchOffset);
  header.read = true;
  return header;
}

// "was -> now", or "now" when the old value is not known.
std::string Change(const StoredHeader& before, const std::string& was, const std::string& now) {
  return before.read ? was + " -> " + now : now;
}

}  // namespace

int RunEdit(const EditOptions& options) {
  const CisHeaderEdit& edit = options.edit;
  if (!edit.Title && !edit.Tempo && !edit.LinesPerInch) {
    std::fprintf(stderr, "tarvelo-cli: edit: nothing to change (give --title, --tempo or --lpi)\n");
    return kExitUsage;
  }
  if (edit.LinesPerInch && *edit.LinesPerInch == 0) {
    std::fprintf(stderr,
                 "tarvelo-cli: --lpi 0 is refused: a header of 0 lines per inch is read as 100 (the header "
                 "dialog stores 100 for it); give --lpi 100 if that is meant\n");
    return kExitUsage;
  }
  if (edit.Title && edit.Title->size() > cis::kTitleAreaSize) {
    std::fprintf(stderr, "tarvelo-cli: --title takes at most %zu bytes (the header's title area), not %zu\n",
                 cis::kTitleAreaSize, edit.Title->size());
    return kExitUsage;
  }
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  TerminalReporter reporter(false);
  reporter.BeginFile(options.file);
  // The reader's warnings are printed below; a failure is printed once, as the edit returns it.
  reporter.SetEchoMessages(false);
  if (const Result checked = CheckCisHeaderEdit(edit); !checked.ok()) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", checked.message().c_str());
    return ExitStatusForArgument(checked);
  }
  const StoredHeader before = ReadStoredHeader(options.file);
  std::vector<std::string> notes;
  const Result edited =
      EditCisHeader(options.file, edit, options.output, profile->Settings().Scanner.ForceOldCisFormat, reporter, notes);
  for (const ReportedMessage& message : reporter.Messages())
    if (message.Kind != MessageKind::kError) reporter.Print(message.Text);
  for (const std::string& note : notes) reporter.Print(note);
  if (!edited.ok()) {
    reporter.Print(edited.message());
    return kExitFileFailed;
  }
  const std::string target = options.output.empty() ? options.file : options.output;
  if (edit.Title) reporter.Print("title: " + Change(before, "\"" + before.title + "\"", "\"" + *edit.Title + "\""));
  if (edit.Tempo) {
    reporter.Print("tempo: " +
                   Change(before, std::to_string(before.tempo), std::to_string(static_cast<int>(*edit.Tempo))));
  }
  if (edit.LinesPerInch) {
    reporter.Print("lines per inch: " +
                   Change(before, std::to_string(before.lines_per_inch), std::to_string(*edit.LinesPerInch)));
  }
  reporter.Print(options.output.empty() ? "the file was replaced" : "written to " + target);
  return kExitOk;
}

}  // namespace tarvelo::cli
