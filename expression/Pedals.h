#pragma once
// The pedals of a reproducing roll, from the system's own pedal tracks only (never from a note
// that happens to be number 18): a held pedal is down while its (joined, extended) hole is
// open; a lock-and-cancel pedal goes down at the onset of an "on" hole while it is up and up at
// the onset of an "off" hole while it is down (repeated "on" or "off" holes change nothing; an
// "off" and an "on" at one place: the "off" first).

#include <vector>

#include "expression/ControlHoles.h"

namespace tarvelo {

struct PedalMove {
  double At = 0;       // file inches
  int Controller = 0;  // 64 sustain, 67 soft
  bool Down = false;
};

// Every move of both pedals, by place; at one place an up before a down.
std::vector<PedalMove> PedalMoves(const ControlHoles& holes);

}  // namespace tarvelo
