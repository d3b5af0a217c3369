#pragma once
// One scan line of a roll scan: the pixel columns at which the image changes between paper
// and hole (its transitions, in increasing order; run k lies between transition k-1, or
// pixel 0, and transition k), the 16-bit word that closed its record in the CIS file, and
// the values later stages compute for it (position along the roll, sideways tracking
// correction).
//
// ScanLine is the self-contained value form, used to build or inspect a single line.
// The lines of a file live in ScanLineArray, which stores them compactly.

#include <cstdint>
#include <vector>

namespace tarvelo {

// The values the stages compute per line; zero for a line as read.
struct LineGeometry {
  double Position = 0;        // inches from line 0 along the roll
  double TrackingOffset = 0;  // sideways correction in force for this line, inches
};

class ScanLine {
 public:
  ScanLine() = default;

  // Clears the transitions, the line word and the position (the other computed values stay).
  void Reset() {
    transitions_.clear();
    LineWord = 0;
    Geometry.Position = 0;
  }

  void AppendTransition(int32_t value) { transitions_.push_back(value); }

  int TransitionCount() const { return static_cast<int>(transitions_.size()); }
  const std::vector<int32_t>& Transitions() const { return transitions_; }
  std::vector<int32_t>& MutableTransitions() { return transitions_; }

  uint16_t LineWord = 0;
  LineGeometry Geometry;

 private:
  std::vector<int32_t> transitions_;
};

}  // namespace tarvelo
