#pragma once
// What the banner above the roll view says about the open roll, in the desktop's own words:
// whether the last conversion put the holes on their tracks (with the numbers), and whether
// the roll type it was converted as is the one the holes point to (measured when the roll was
// opened). Each finding comes with the buttons that mend it. An empty notice hides the banner:
// a right conversion of a recognised (or undecided but fitting) roll says nothing.

#include <string>
#include <vector>

#include "align/AlignScan.h"
#include "document/ConversionSummary.h"

namespace tarvelo::app {

struct RollNotice {
  std::vector<std::string> Findings;  // one sentence or two each
  bool IsWarning = false;             // the notes are (or may be) wrong; otherwise information
  bool OfferAlign = false;            // "Align to This Roll" mends it
  bool OfferRecognise = false;        // "Recognise From This Roll" mends it
  bool Empty() const { return Findings.empty(); }
  std::string Text() const;  // the findings, one a line
};

// The scanner values the conversion placed the holes with.
struct ScannerValuesUsed {
  int Dpi = 0;
  double Offset = 0;
  double Stretch = 1;
};

// `summary` of the last conversion (no lines converted: nothing to say about placement),
// `warning_percent` the share of holes off their tracks above which the settings do not fit
// (Diagnostic Settings/OffTrackWarningPercent), `roll_type` the roll type it was converted as,
// `ranking` the roll types ranked on the open roll (null: not measured).
RollNotice DescribeRoll(const ConversionSummary& summary, int warning_percent, const std::string& roll_type,
                        const ScannerValuesUsed& used, const RollTypeRanking* ranking);

}  // namespace tarvelo::app
