#pragma once
// Correcting the three editable header values of a CIS file (title, tempo, lines per inch)
// with the checks of the "CIS File Embedded Data" dialog, and saving the file with them.

#include <optional>
#include <string>
#include <vector>

#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "support/Result.h"

namespace tarvelo {

struct CisHeaderEdit {
  std::optional<std::string> Title;       // at most 50 characters
  std::optional<double> Tempo;            // 0 .. 10000; the fraction is dropped
  std::optional<long long> LinesPerInch;  // 0 .. 32767; below 1 means 100
};

// The dialog's checks (kInvalid naming the first field refused). Lines per inch is limited
// to what the file's 16-bit field can hold.
Result CheckCisHeaderEdit(const CisHeaderEdit& edit);

// Applies checked values: Title; Tempo without its fraction; RawLinesPerInch and LinesPerInch
// the value, or 100 when it is below 1.
void ApplyCisHeaderEdit(const CisHeaderEdit& edit, CisHeader& header);

// Opens the CIS file `path` (its messages go to `reporter`; `old_format_forced` as the scanner
// preset says), applies `edit` and saves the file
// to `output_path`, or over `path` when it is empty; the file is replaced only when the new
// one is complete. Nothing is written when a value fails its check, the file cannot be opened,
// or its header is refused; the result says why. `notes` receives what the saved file holds
// differently from the request or the input.
Result EditCisHeader(const std::string& path, const CisHeaderEdit& edit, const std::string& output_path,
                     bool old_format_forced, Reporter& reporter, std::vector<std::string>& notes);

}  // namespace tarvelo
