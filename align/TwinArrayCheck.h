#pragma once
// Checking how well the two halves of a twin array scan were joined. Each half is fitted to
// the roll type's tracks on its own (the bass half placed by the bass paper edge, the treble
// half by the treble edge); where the arrays meet both fits must put the same pixel at the same
// place across the roll. If they do not, the overlap used to join the arrays is off by the
// difference, which no offset or stretch can make good.

#include "align/AlignmentInput.h"
#include "align/FitTracks.h"
#include "align/ScanMeasurement.h"
#include "align/TrackLayout.h"

namespace tarvelo {

struct TwinArrayJoin {
  bool Measured = false;  // a twin array scan with enough holes on both sides of the crossover
  // Pixels by which the second array's image lies beyond where the first array's places it:
  // positive when the arrays were joined with too small an overlap.
  double Step = 0;
};

TwinArrayJoin CheckTwinArrayJoin(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                                 const FitOptions& options = {});

}  // namespace tarvelo
