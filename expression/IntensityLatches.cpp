#include "expression/IntensityLatches.h"

#include <algorithm>

namespace tarvelo {

IntensityLatches::IntensityLatches(const ControlHoles& holes, Side side, const RollTiming& timing)
    : cancel_(holes.Of(TrackFunction::kCancel, side), timing),
      intensity_{MillisecondCursor(holes.Of(TrackFunction::kIntensity, side, 1), timing),
                 MillisecondCursor(holes.Of(TrackFunction::kIntensity, side, 2), timing),
                 MillisecondCursor(holes.Of(TrackFunction::kIntensity, side, 4), timing)} {}

int IntensityLatches::Update(long long k, bool* cancelled) {
  const bool cancel = cancel_.IsOpen(k);
  if (cancel) set_ = 0;
  if (cancelled) *cancelled = cancel;
  for (int bit = 0; bit < 3; ++bit)
    if (intensity_[bit].IsOpen(k)) set_ |= 1 << bit;
  return set_;
}

long long IntensityLatches::NextChange(long long k) {
  long long next = cancel_.NextChange(k);
  for (MillisecondCursor& intensity : intensity_) next = std::min(next, intensity.NextChange(k));
  return next;
}

}  // namespace tarvelo
