#pragma once
// How many of the holes a conversion's per-line pass placed lie off their tracks: each hole's
// centre, shifted by the sideways correction the pass applied to its lines, against the
// centre of the track the lookup map gives it. A share well above a few per cent means the
// scanner offset, stretch, DPI or roll type does not fit the scan. Runs of hole colour off the
// paper (ScanRunState::PaperOnLines) are no holes here, as in the per-line pass.

#include <vector>

#include "cis/CisScanData.h"
#include "geometry/TrackLookupMap.h"
#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo {

struct OffTrackCount {
  int Holes = 0;     // distinct holes of a hole's width whose centres lie in the tracked span
  int OffTrack = 0;  // of them, those further than the on-track distance from their track's centre
  double Share() const { return Holes > 0 ? static_cast<double>(OffTrack) / Holes : 0.0; }
};

// `data` after the per-line pass (every line's TrackingOffset written), `map` as the pass built
// it. A hole is on track within `on_track_share` of the roll type's track spacing of its
// track's centre. Lines about a fiftieth of an inch apart are looked at (holes are longer).
OffTrackCount CountOffTrackHoles(const CisScanData& data, const TrackLookupMap& map, const RollTypeDefinition& roll,
                                 double on_track_share = 0.3);

// One of the holes CountOffTrackHoles counts as off its track, where the scan has it.
struct OffTrackHole {
  double Start = 0;  // position along the roll of its first line looked at, inches
  double End = 0;    // position of the first line looked at after it, inches
  double Left = 0;   // its span across, in sensor pixels as scanned (before the sideways correction)
  double Right = 0;
  int FirstLine = 0;  // the scan line at Start
};

// The holes CountOffTrackHoles(data, map, roll, on_track_share) counts as off their tracks (as
// many as its OffTrack), by their Start.
std::vector<OffTrackHole> ListOffTrackHoles(const CisScanData& data, const TrackLookupMap& map,
                                            const RollTypeDefinition& roll, double on_track_share = 0.3);

}  // namespace tarvelo
