// tarvelo-cli info FILE.cis...: the header summary of each file, plus the lines read and
// the damaged lines, without converting anything.
#include <cstdio>

#include "cis/CisFile.h"
#include "cis/HeaderSummary.h"
#include "cli/Commands.h"
#include "cli/TerminalReporter.h"

namespace tarvelo::cli {

int RunInfo(const InfoOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  const RunSettings settings = profile->Settings();
  TerminalReporter reporter(false);
  int status = kExitOk;
  bool first = true;
  for (const std::string& path : options.files) {
    reporter.BeginFile(path);
    CisScanData data;
    CisOpenState state = CisOpenState::kNothingRead;
    const Result opened = OpenCisFile(path, settings.Scanner.ForceOldCisFormat, data, reporter, &state);
    status = WorseExitStatus(status, ExitStatusForFile(opened));
    if (state == CisOpenState::kNothingRead) continue;
    if (!first) std::printf("\n");
    first = false;
    std::printf("%s\n", path.c_str());
    if (state == CisOpenState::kHeaderRefused) continue;
    for (const auto& [label, value] : HeaderSummaryEntries(SummarizeHeader(data)))
      std::printf("  %-18s %s\n", (label + ":").c_str(), value.c_str());
    std::printf("  %-18s %d\n", "Lines read:", data.Lines.Size());
    std::printf("  %-18s %d\n", "Damaged lines:", data.CorruptLineCount);
  }
  return status;
}

}  // namespace tarvelo::cli
