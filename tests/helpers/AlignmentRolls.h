#pragma once
// Rolls for the alignment tests: synthetic rolls turned straight into scan lines (as the
// per-line pass would see them, positions from the lines per inch), and the shipped roll type
// library.

#include <vector>

#include "SyntheticRoll.h"
#include "SyntheticSystems.h"
#include "align/AlignScan.h"
#include "cis/ScanLineArray.h"
#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo::testing {

// The lines of `plan`: line i at i / lines_per_inch inches.
ScanLineArray SyntheticScanLines(const synth::SyntheticRollSpec& plan);

// The measurement's view of those lines (runs 0, 2, 4 ... are holes in a synthetic roll).
ScanForAlignment SyntheticScanView(const ScanLineArray& lines, const synth::SyntheticRollSpec& plan);

// A 100-inch roll of `system` at the given scanner values, wandering `wander` inches either
// way in a slow wave and with margins ragged by `ragged` inches.
synth::SyntheticRollSpec SystemRoll(synth::RollSystem system, double offset, double stretch, int dpi,
                                    double wander = 0.03, double ragged = 0.02, uint32_t seed = 7);

// Every roll type of data/RollTypeDefinitions.xml, filled.
const std::vector<RollTypeDefinition>& ShippedRollTypes();
std::vector<const RollTypeDefinition*> ShippedLibrary();
const RollTypeDefinition& ShippedRollType(const char* name);

}  // namespace tarvelo::testing
