#pragma once
// The CIS header values a front end shows in its "CIS File Embedded Data" display, and the
// display entries derived from them.

#include <string>
#include <utility>
#include <vector>

#include "cis/CisHeader.h"

namespace tarvelo {

struct CisHeaderSummary {
  int HeaderLineCount = 0;
  int RawLinesPerInch = 0;
  int ScanWidth = 0;  // effective width (after the type bits)
  double Tempo = 0;
  std::string HeaderText;  // header bytes 0..39 exactly as read (40 bytes)
  int ChangeoverPixel = 0;
};

// The summary of a file the reader has just read.
CisHeaderSummary SummarizeHeader(const CisHeader& header);

// The display entries in order ("Title", "Scanner Type", ..., "Lines In File"), derived from
// the header bits whatever the old-format setting.
std::vector<std::pair<std::string, std::string>> HeaderSummaryEntries(const CisHeaderSummary& summary);

}  // namespace tarvelo
