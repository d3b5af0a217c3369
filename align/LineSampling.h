#pragma once
// The scan lines a measurement looks at: every other line where the lines lie closer together
// than the measurement needs, every line elsewhere.

#include <vector>

#include "cis/ScanLineArray.h"

namespace tarvelo {

// Lines this far apart along the roll (inches) show every hole on several of them.
inline constexpr double kMeasuredLineSpacing = 1.0 / 150;

// The first line, then each line two after the one taken before it, or one after it where that
// lies `spacing` inches of roll or more beyond it. (Never further apart than every other line:
// a scan whose lines per inch are set wrong, as an encoder scan timed by lines per inch, has
// its holes on more lines than their length in inches says.) Rising line numbers.
std::vector<int> SampleLines(const ScanLineArray& lines, double spacing);

}  // namespace tarvelo
