#include "expression/MillisecondPaper.h"

#include <algorithm>
#include <cmath>

#include "expression/ControlHoles.h"

namespace tarvelo {

long long MillisecondPaper::NextChange(long long k) {
  if (k < change_) return change_;
  // The speed of a millisecond is the tempo in force at its tick, and the ticks of the
  // milliseconds rise (each millisecond moves the file on by a part of a tick, far more than the
  // rounding of the times), so the speed holds until the first millisecond whose tick reaches
  // the next tempo change.
  const double next_tick = timing_.NextTempoChangeTick(TickAt(k));
  if (!std::isfinite(next_tick)) return change_ = MillisecondCursor::kNever;
  // The millisecond the change's time rounds up to, then the first whose tick reaches it.
  long long first = std::max(k + 1, static_cast<long long>(std::ceil(timing_.SecondsAtTick(next_tick) / kStep)));
  while (first > k + 1 && TickAt(first - 1) >= next_tick) --first;
  while (TickAt(first) < next_tick) ++first;
  return change_ = first;
}

}  // namespace tarvelo
