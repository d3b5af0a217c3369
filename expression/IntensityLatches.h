#pragma once
// The latched intensities of one side of an Ampico or Artecho roll: each millisecond the
// side's cancel hole, while open, clears them, then every open intensity hole latches (an
// intensity punched over a cancel wins). The set is the intensities' bits (TrackRole::Weight).

#include "expression/ControlHoles.h"

namespace tarvelo {

class IntensityLatches {
 public:
  IntensityLatches(const ControlHoles& holes, Side side, const RollTiming& timing);
  // The latched set after millisecond k (k rising); `cancelled`, if given, tells whether the
  // cancel was open.
  int Update(long long k, bool* cancelled = nullptr);
  // The first millisecond after k at which one of the side's holes opens or closes (k rising): the
  // holes stay as they are at k until then, so Update gives the set and `cancelled` it gave at k.
  long long NextChange(long long k);

 private:
  MillisecondCursor cancel_;
  MillisecondCursor intensity_[3];
  int set_ = 0;
};

}  // namespace tarvelo
