// tarvelo-cli info FILE.cis...: the header summary of each file, plus the lines read and
// the damaged lines, without converting anything.
#include <cstdio>

#include "cis/CisReader.h"
#include "cli/Commands.h"
#include "cli/TerminalUi.h"
#include "support/AtomicFile.h"

namespace tarvelo::cli {

int RunInfo(const InfoOptions& options) {
  auto profile = RunProfile::Open(options.profile);
  if (!profile) return kExitUsage;
  SessionSettings settings(profile->Store());
  TerminalUi ui(settings, false);
  int status = kExitOk;
  bool first = true;
  for (const std::string& path : options.files) {
    ui.BeginFile(path);
    std::string bytes, error;
    if (!ReadWholeFile(path, bytes, error)) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
      status = kExitFileFailed;
      continue;
    }
    CisScanData data;
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    data.FileName = name.substr(0, name.find('.'));
    data.FileExtension = name.size() >= 3 ? name.substr(name.size() - 3) : name;
    std::string last_error;
    const auto result =
        ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, data, ui, last_error);
    if (result == CisReadResult::kTooShort) {
      std::fprintf(stderr, "%s: the file is too short to be a CIS file (%zu bytes, the header alone takes 52)\n",
                   path.c_str(), bytes.size());
      status = kExitFileFailed;
      continue;
    }
    if (!first) std::printf("\n");
    first = false;
    std::printf("%s\n", path.c_str());
    if (result == CisReadResult::kRefused) {
      status = kExitFileFailed;
      continue;
    }
    for (const auto& [label, value] : HeaderSummaryEntries(ui.HeaderSummary()))
      std::printf("  %-18s %s\n", (label + ":").c_str(), value.c_str());
    std::printf("  %-18s %d\n", "Lines read:", data.Lines.Size());
    std::printf("  %-18s %d\n", "Damaged lines:", data.CorruptLineCount);
  }
  return status;
}

}  // namespace tarvelo::cli
