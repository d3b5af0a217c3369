#include "align/TrackLayout.h"

#include <algorithm>
#include <cmath>

namespace tarvelo {

bool TrackLayout::IsUsable() const {
  if (Centers.size() < 2 || !(Spacing > 0) || !std::isfinite(Spacing)) return false;
  for (size_t k = 1; k < Centers.size(); ++k)
    if (!(Centers[k] > Centers[k - 1])) return false;
  return true;
}

bool TrackLayout::SameGeometry(const TrackLayout& other) const {
  if (LowestTrack != other.LowestTrack || HighestTrack != other.HighestTrack) return false;
  const double tolerance = 0.001 * Spacing;
  if (std::abs(Spacing - other.Spacing) > tolerance || std::abs(LowerEdge - other.LowerEdge) > tolerance ||
      std::abs(UpperEdge - other.UpperEdge) > tolerance)
    return false;
  for (size_t k = 0; k < Centers.size(); ++k)
    if (std::abs(Centers[k] - other.Centers[k]) > tolerance) return false;
  return true;
}

TrackLayout LayoutOf(const RollTypeDefinition& roll) {
  TrackLayout layout;
  layout.Name = roll.Name;
  layout.LowestTrack = std::clamp(roll.LowestTrackHoleNumber, 0, kTrackSlots - 1);
  layout.HighestTrack = std::clamp(roll.HighestTrackHoleNumber, 0, kTrackSlots - 1);
  layout.Spacing = roll.DefaultTrackCenterSpacing;
  layout.LowerEdge = roll.LowerRollEdgeExpectedLocation;
  layout.UpperEdge = roll.UpperRollEdgeExpectedLocation;
  for (int track = layout.LowestTrack; track <= layout.HighestTrack; ++track)
    layout.Centers.push_back(roll.TrackCenter[static_cast<size_t>(track)]);
  return layout;
}

}  // namespace tarvelo
