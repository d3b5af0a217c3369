#include "cis/CisHeaderEdit.h"

#include <cstdint>

#include "cis/CisFile.h"
#include "cis/CisFormat.h"
#include "cis/CisWriter.h"
#include "settings/SettingsIo.h"

namespace tarvelo {

Result CheckCisHeaderEdit(const CisHeaderEdit& edit) {
  SettingsCheck check;
  if (edit.Title) check.Length("Title", *edit.Title, 50);
  if (edit.Tempo) check.Range("Tempo", *edit.Tempo, 0.0, 10000.0);
  if (edit.LinesPerInch) check.Range("Lines Per Inch", *edit.LinesPerInch, 0LL, static_cast<long long>(INT16_MAX));
  return check.Outcome();
}

void ApplyCisHeaderEdit(const CisHeaderEdit& edit, CisHeader& header) {
  if (edit.Title) header.Title = *edit.Title;
  if (edit.Tempo) header.Tempo = static_cast<int16_t>(*edit.Tempo);
  if (edit.LinesPerInch) {
    const int16_t value = *edit.LinesPerInch < 1 ? int16_t{100} : static_cast<int16_t>(*edit.LinesPerInch);
    header.RawLinesPerInch = value;
    header.LinesPerInch = value;
  }
}

Result EditCisHeader(const std::string& path, const CisHeaderEdit& edit, const std::string& output_path,
                     bool old_format_forced, Reporter& reporter, std::vector<std::string>& notes) {
  if (Result checked = CheckCisHeaderEdit(edit); !checked.ok()) return checked;

  CisScanData data;
  CisOpenState state = CisOpenState::kNothingRead;
  if (Result opened = OpenCisFile(path, old_format_forced, data, reporter, &state); !opened.ok()) {
    if (state == CisOpenState::kHeaderRefused) return Result::Corrupt(opened.message() + "- the file was not changed.");
    if (state == CisOpenState::kNotAScan) return Result::Corrupt(opened.message() + " The file was not changed.");
    return opened;
  }
  data.KeepAsRead();
  data.Lines.Clear();

  if (!edit.Tempo && data.Header.RawTempo != data.Header.Tempo) {
    notes.push_back("The tempo " + std::to_string(data.Header.RawTempo) +
                    " in the header lies outside 10..500; it is saved as " + std::to_string(data.Header.Tempo) + ".");
  }
  if (!edit.LinesPerInch && data.Header.RawLinesPerInch != data.Header.LinesPerInch) {
    notes.push_back("The lines per inch " + std::to_string(data.Header.RawLinesPerInch) +
                    " in the header is below 1; it is saved as " + std::to_string(data.Header.LinesPerInch) + ".");
  }
  ApplyCisHeaderEdit(edit, data.Header);
  if (data.Header.Title.size() > cis::kTitleAreaSize) {
    notes.push_back("The title is saved as its first 32 bytes: \"" + data.Header.Title.substr(0, cis::kTitleAreaSize) +
                    "\".");
  }
  // Bytes after the last complete line record (a record cut short by the end of the file)
  // were not read as a line and are not saved.
  const ScanLineArray& lines = data.LinesAsRead;
  const uint64_t used = cis::kHeaderSize + 2 * (lines.TotalTransitions() + static_cast<uint64_t>(lines.Size()));
  if (data.Header.FileLength > used) {
    notes.push_back(std::to_string(data.Header.FileLength - used) +
                    " byte(s) at the end of the file form no complete scan line and are not saved.");
  }
  return WriteCisFile(data, output_path.empty() ? path : output_path);
}

}  // namespace tarvelo
