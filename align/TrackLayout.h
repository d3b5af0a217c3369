#pragma once
// The part of a roll type that alignment needs: where the centres of its tracks lie across
// the roll, how far apart they are, and where it expects the paper's edges. Two roll types
// with the same layout cannot be told apart by where their holes lie.

#include <string>
#include <vector>

#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo {

struct TrackLayout {
  std::string Name;
  int LowestTrack = 0;  // the tracked span: LowestTrackHoleNumber .. HighestTrackHoleNumber
  int HighestTrack = -1;
  std::vector<double> Centers;  // inches, one per track of the span, in track order
  double Spacing = 0;           // DefaultTrackCenterSpacing, inches
  double LowerEdge = 0;         // LowerRollEdgeExpectedLocation, inches
  double UpperEdge = 0;         // UpperRollEdgeExpectedLocation, inches

  int TrackCount() const { return static_cast<int>(Centers.size()); }
  double Center(int track) const { return Centers[static_cast<size_t>(track - LowestTrack)]; }
  // Usable for a fit: at least two tracks, a positive spacing, centres rising with the track.
  bool IsUsable() const;
  // The same centres (to a thousandth of the spacing), spacing and edges.
  bool SameGeometry(const TrackLayout& other) const;
};

// The layout of `roll`; the span is clipped to the track slots.
TrackLayout LayoutOf(const RollTypeDefinition& roll);

}  // namespace tarvelo
