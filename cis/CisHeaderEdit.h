#pragma once
// Correcting the three editable header values of a CIS file (title, tempo, lines per inch)
// with the checks of the "CIS File Embedded Data" dialog, and saving the file with them.

#include <optional>
#include <string>
#include <vector>

#include "cis/CisScanData.h"
#include "services/UiServices.h"
#include "settings/SettingsIo.h"

namespace tarvelo {

struct CisHeaderEdit {
  std::optional<std::string> Title;        // at most 50 characters
  std::optional<double> Tempo;             // 0 .. 10000; the fraction is dropped
  std::optional<long long> LinesPerInch;   // 0 .. 32767; below 1 means 100
};

// The dialog's checks; empty when every given value is acceptable. Lines per inch is limited
// to what the file's 16-bit field can hold.
SettingsProblems CheckCisHeaderEdit(const CisHeaderEdit& edit);

// Applies checked values: Title; Tempo without its fraction; RawLinesPerInch and LinesPerInch
// the value, or 100 when it is below 1.
void ApplyCisHeaderEdit(const CisHeaderEdit& edit, CisScanData& data);

struct CisEditResult {
  bool Written = false;
  std::string OutputPath;
  std::vector<std::string> Problems;  // why nothing was written
  std::vector<std::string> Notes;     // what the saved file holds differently from the request or the input
};

// Reads the CIS file `path` (reading messages go to `ui`), applies `edit` and saves the file
// to `output_path`, or over `path` when it is empty; the file is replaced only when the new
// one is complete. Nothing is written when a value fails its check, the file cannot be read,
// or its header is refused.
CisEditResult EditCisHeader(const std::string& path, const CisHeaderEdit& edit, const std::string& output_path,
                            UiServices& ui);

}  // namespace tarvelo
