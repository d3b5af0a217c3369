#include "cis/CisHeaderEdit.h"

#include <cstdint>

#include "cis/CisFormat.h"
#include "cis/CisReader.h"
#include "cis/CisWriter.h"
#include "support/AtomicFile.h"

namespace tarvelo {

SettingsProblems CheckCisHeaderEdit(const CisHeaderEdit& edit) {
  SettingsProblems problems;
  if (edit.Title) CheckLength(problems, "Title", *edit.Title, 50);
  if (edit.Tempo) CheckRange(problems, "Tempo", *edit.Tempo, 0.0, 10000.0);
  if (edit.LinesPerInch) CheckRange(problems, "Lines Per Inch", *edit.LinesPerInch, 0LL, static_cast<long long>(INT16_MAX));
  return problems;
}

void ApplyCisHeaderEdit(const CisHeaderEdit& edit, CisScanData& data) {
  if (edit.Title) data.Title = *edit.Title;
  if (edit.Tempo) data.Tempo = static_cast<int16_t>(*edit.Tempo);
  if (edit.LinesPerInch) {
    const int16_t value = *edit.LinesPerInch < 1 ? int16_t{100} : static_cast<int16_t>(*edit.LinesPerInch);
    data.RawLinesPerInch = value;
    data.LinesPerInch = value;
  }
}

CisEditResult EditCisHeader(const std::string& path, const CisHeaderEdit& edit, const std::string& output_path,
                            UiServices& ui) {
  CisEditResult result;
  result.OutputPath = output_path.empty() ? path : output_path;
  result.Problems = CheckCisHeaderEdit(edit);
  if (!result.Problems.empty()) return result;

  // The names the reader's messages use, split as the document splits them.
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string extension = name.size() >= 3 ? name.substr(name.size() - 3) : name;
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (extension != "cis") {
    result.Problems.push_back("*** Invalid File Type *** CIS files only - " + path);
    return result;
  }

  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) {
    result.Problems.push_back("Unable to read the file: " + error);
    return result;
  }
  CisScanData data;
  data.FolderName = path.substr(0, path.size() - name.size());
  data.FileName = name.substr(0, name.find('.'));
  data.FileExtension = extension;
  const auto* file = reinterpret_cast<const uint8_t*>(bytes.data());
  switch (ReadCisFile({file, bytes.size()}, data, ui, error)) {
    case CisReadResult::kTooShort:
      result.Problems.push_back("The file is too short to be a CIS file: " + std::to_string(bytes.size()) +
                                " bytes, the header alone takes 52.");
      return result;
    case CisReadResult::kRefused:
      result.Problems.push_back(error + "- the file was not changed.");
      return result;
    case CisReadResult::kRead:
      break;
  }
  data.LinesAsRead = std::move(data.Lines);
  data.SavedScanWidth = data.ScanWidth;
  data.SavedTwinArray = data.TwinArray;
  data.SavedReverseImage = data.ReverseImage;

  const int16_t header_tempo = cis::ReadI16(file + cis::kTempoOffset);
  if (!edit.Tempo && header_tempo != data.Tempo) {
    result.Notes.push_back("The tempo " + std::to_string(header_tempo) + " in the header lies outside 10..500; it is saved as " +
                           std::to_string(data.Tempo) + ".");
  }
  if (!edit.LinesPerInch && data.RawLinesPerInch != data.LinesPerInch) {
    result.Notes.push_back("The lines per inch " + std::to_string(data.RawLinesPerInch) +
                           " in the header is below 1; it is saved as " + std::to_string(data.LinesPerInch) + ".");
  }
  ApplyCisHeaderEdit(edit, data);
  if (data.Title.size() > cis::kTitleAreaSize) {
    result.Notes.push_back("The title is saved as its first 32 bytes: \"" +
                           data.Title.substr(0, cis::kTitleAreaSize) + "\".");
  }
  // Bytes after the last complete line record (a record cut short by the end of the file)
  // were not read as a line and are not saved.
  const ScanLineArray& lines = data.LinesAsRead;
  const uint64_t used = cis::kHeaderSize + 2 * (lines.TotalTransitions() + static_cast<uint64_t>(lines.Size()));
  if (bytes.size() > used) {
    result.Notes.push_back(std::to_string(bytes.size() - used) +
                           " byte(s) at the end of the file form no complete scan line and are not saved.");
  }
  std::string().swap(bytes);

  if (!WriteCisFile(data, result.OutputPath, error)) {
    result.Problems.push_back(error);
    return result;
  }
  result.Written = true;
  return result;
}

}  // namespace tarvelo
