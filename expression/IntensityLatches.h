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

 private:
  MillisecondCursor cancel_;
  MillisecondCursor intensity_[3];
  int set_ = 0;
};

}  // namespace tarvelo
