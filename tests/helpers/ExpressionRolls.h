#pragma once
// Synthetic reproducing rolls for the expression tests: notes in both halves and the control
// holes of one system as its rolls punch them (lock-and-cancel pairs, held valves, chains of
// short holes for held levels and pedals, snakebites beside accented notes), laid out on the
// tracks of the shipped roll type of that system.

#include <string>

#include "SyntheticRoll.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo::testing {

struct ExpressionRoll {
  std::string RollType;  // the shipped roll type of the system
  synth::SyntheticRollSpec Plan;
  int ScannerDpi = 300;  // the scanner preset's DPI that places it
};

// A 60-inch roll at tempo 80 of `system` (not kNone), the same for every call.
ExpressionRoll MakeExpressionRoll(ExpressionSystem system);

}  // namespace tarvelo::testing
