// tarvelo-cli edit FILE.cis [--title T] [--tempo X] [--lpi N] [-o OUT.cis]: corrects the
// header of a CIS file, with the checks of the embedded-data dialog; without -o the file is
// replaced once the new one is complete.
#include <cstdio>

#include "cis/CisHeaderEdit.h"
#include "cli/Commands.h"
#include "cli/TerminalReporter.h"

namespace tarvelo::cli {

int RunEdit(const EditOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  TerminalReporter reporter(false);
  reporter.BeginFile(options.file);
  // The reader's warnings are printed below; a failure is printed once, as the edit returns it.
  reporter.SetEchoMessages(false);
  if (const Result checked = CheckCisHeaderEdit(options.edit); !checked.ok()) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", checked.message().c_str());
    return ExitStatusForArgument(checked);
  }
  std::vector<std::string> notes;
  const Result edited = EditCisHeader(options.file, options.edit, options.output,
                                      profile->Settings().Scanner.ForceOldCisFormat, reporter, notes);
  for (const ReportedMessage& message : reporter.Messages())
    if (message.Kind != MessageKind::kError) reporter.Print(message.Text);
  for (const std::string& note : notes) reporter.Print(note);
  if (!edited.ok()) {
    reporter.Print(edited.message());
    return kExitFileFailed;
  }
  return kExitOk;
}

}  // namespace tarvelo::cli
