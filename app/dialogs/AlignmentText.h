#pragma once
// What the desktop says about a measurement of the open roll: the suggested scanner values with
// the share of holes they put on track, and the roll type recognised (or why none was).

#include <string>

#include "align/AlignScan.h"

namespace tarvelo::app {

// "Measured: 99.99 % of the holes on track with DPI 300, offset 1.0980 inch, stretch 0.9994
// (now 45.3 %); paper edges 1.604 and 12.855 inch", then the measurement's warnings, one a line.
std::string MeasuredSettingsText(const AlignmentReport& report);

// "Recognised Ampico B (score 0.993; next Artecho 0.938)", or, when the holes do not decide,
// the candidates with their scores and that `kept` stays the roll type.
std::string RecognitionText(const AlignmentReport& report, const std::string& kept);

}  // namespace tarvelo::app
