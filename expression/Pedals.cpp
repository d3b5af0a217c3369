#include "expression/Pedals.h"

#include <algorithm>

namespace tarvelo {

namespace {

void AddHeld(std::vector<PedalMove>& moves, const std::vector<Interval>& stretches, int controller) {
  for (const Interval& stretch : stretches) {
    moves.push_back({stretch.Start, controller, true});
    moves.push_back({stretch.End, controller, false});
  }
}

void AddLock(std::vector<PedalMove>& moves, const std::vector<Interval>& on, const std::vector<Interval>& off,
             int controller) {
  std::vector<PedalMove> marks;
  for (const Interval& hole : on) marks.push_back({hole.Start, controller, true});
  for (const Interval& hole : off) marks.push_back({hole.Start, controller, false});
  std::stable_sort(marks.begin(), marks.end(), [](const PedalMove& a, const PedalMove& b) {
    return a.At != b.At ? a.At < b.At : !a.Down && b.Down;
  });
  bool down = false;
  for (const PedalMove& mark : marks) {
    if (mark.Down == down) continue;
    down = mark.Down;
    moves.push_back(mark);
  }
}

}  // namespace

std::vector<PedalMove> PedalMoves(const ControlHoles& holes) {
  using enum TrackFunction;
  std::vector<PedalMove> moves;
  AddHeld(moves, holes.Of(kSustain, Side::kBoth), 64);
  AddHeld(moves, holes.Of(kSoft, Side::kBoth), 67);
  AddLock(moves, holes.Of(kSustainOn, Side::kBoth), holes.Of(kSustainOff, Side::kBoth), 64);
  AddLock(moves, holes.Of(kSoftOn, Side::kBoth), holes.Of(kSoftOff, Side::kBoth), 67);
  std::stable_sort(moves.begin(), moves.end(), [](const PedalMove& a, const PedalMove& b) {
    return a.At != b.At ? a.At < b.At : !a.Down && b.Down;
  });
  return moves;
}

}  // namespace tarvelo
