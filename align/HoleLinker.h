#pragma once
// Linking the hole runs of successive scan lines into distinct holes: a run that overlaps an
// open hole's run on the line before continues it; a hole that misses a line or two (a speck,
// a crease) goes on; slivers of one hole's curved leading edge are taken together. Each
// finished hole is recorded once, with its mean centre, width and extent along the roll.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "align/ScanMeasurement.h"

namespace tarvelo::linking {

// A hole can miss this many lines (a speck of dust, a crease) and still continue.
constexpr int kBridgedLines = 2;
// Runs of one line this close together are one hole's slivers.
constexpr int32_t kJoinedGap = 2;
// Runs narrower than this are sensor noise and ragged fibres, not holes.
constexpr int32_t kNarrowestRun = 2;

struct OpenHole {
  int32_t First = 0;  // pixel span on its latest line before the current one (for matching)
  int32_t Last = 0;
  int32_t NextFirst = 0;  // pixel span on the current line
  int32_t NextLast = 0;
  int32_t FirstLine = 0;
  int32_t LastLine = 0;  // latest line with a run
  int32_t Lines = 0;
  double CenterSum = 0;  // sums over its runs
  double RawCenterSum = 0;
  double WidthSum = 0;
  bool Dropped = false;  // found to be part of another hole
};

}  // namespace tarvelo::linking

namespace tarvelo {

// `Position` gives the position along the roll (inches) of a line number, 0 .. line_count - 1.
template <typename Position>
class HoleLinker {
 public:
  HoleLinker(int line_count, Position position, std::vector<MeasuredHole>& out)
      : line_count_(line_count), position_(position), out_(out) {}

  // Adds the runs of line `line` (ordered, not overlapping), then records the holes that have
  // missed too many lines.
  void AddLine(int line, const std::vector<std::pair<int32_t, int32_t>>& runs, float wander) {
    added_.clear();
    size_t h = 0;
    size_t extended = SIZE_MAX;  // the open hole the previous run of this line continued
    for (const auto& [a, b] : runs) {
      // Open holes entirely left of this run are not continued by it (nor by any later run).
      while (h < open_.size() && open_[h].Last <= a) ++h;
      const double center = 0.5 * (a + b);
      if (h < open_.size() && open_[h].First < b) {
        extended = h;
        Extend(open_[h++], line, a, b, center, wander);
        // Further open holes under the same run are not continued. One that began a line or
        // two ago is the same hole, first seen as two slivers of its curved leading edge; it is
        // dropped. Older ones are holes of their own that ran into this one.
        while (h < open_.size() && open_[h].First < b) {
          if (open_[h].Lines <= linking::kBridgedLines) open_[h].Dropped = true;
          ++h;
        }
      } else if (extended != SIZE_MAX && open_[extended].Last > a) {
        Extend(open_[extended], line, a, b, center, wander);  // a hole split across two runs
      } else if (!added_.empty() && a - added_.back().Last <= linking::kJoinedGap) {
        // Slivers a pixel or two apart on a hole's first line: one hole.
        linking::OpenHole& hole = added_.back();
        hole.Last = b;
        hole.CenterSum = 0.5 * (hole.First + hole.Last) - wander;
        hole.RawCenterSum = 0.5 * (hole.First + hole.Last);
        hole.WidthSum = hole.Last - hole.First;
      } else {
        linking::OpenHole hole;
        hole.FirstLine = line;
        hole.LastLine = line;
        hole.Lines = 1;
        hole.First = a;
        hole.Last = b;
        hole.CenterSum = center - wander;
        hole.RawCenterSum = center;
        hole.WidthSum = b - a;
        added_.push_back(hole);
      }
    }
    // Record the holes that have ended; the others take this line's span.
    size_t kept = 0;
    for (size_t k = 0; k < open_.size(); ++k) {
      linking::OpenHole& hole = open_[k];
      if (hole.Dropped) continue;
      if (line - hole.LastLine > linking::kBridgedLines) {
        Close(hole);
        continue;
      }
      if (hole.LastLine == line) {
        hole.First = hole.NextFirst;
        hole.Last = hole.NextLast;
      }
      if (kept != k) open_[kept] = hole;
      ++kept;
    }
    open_.resize(kept);
    if (!added_.empty()) {
      merged_.clear();
      std::merge(open_.begin(), open_.end(), added_.begin(), added_.end(), std::back_inserter(merged_),
                 [](const linking::OpenHole& x, const linking::OpenHole& y) { return x.First < y.First; });
      open_.swap(merged_);
    }
  }

  // Records the holes still open after the last line.
  void Finish() {
    for (const linking::OpenHole& hole : open_)
      if (!hole.Dropped) Close(hole);
    open_.clear();
  }

 private:
  void Extend(linking::OpenHole& hole, int line, int32_t a, int32_t b, double center, float wander) {
    if (hole.LastLine == line) {
      // A second run of the same hole on this line: widen the span, count the line once.
      hole.NextFirst = std::min(hole.NextFirst, a);
      hole.NextLast = std::max(hole.NextLast, b);
      return;
    }
    hole.NextFirst = a;
    hole.NextLast = b;
    hole.LastLine = line;
    ++hole.Lines;
    hole.CenterSum += center - wander;
    hole.RawCenterSum += center;
    hole.WidthSum += b - a;
  }
  void Close(const linking::OpenHole& hole) {
    MeasuredHole measured;
    measured.Center = hole.CenterSum / hole.Lines;
    measured.RawCenter = hole.RawCenterSum / hole.Lines;
    measured.Width = hole.WidthSum / hole.Lines;
    measured.Start = position_(hole.FirstLine);
    const int after = hole.LastLine + 1;
    if (after < line_count_) {
      measured.End = position_(after);
    } else {
      // The last line: one line spacing beyond it.
      const double previous = hole.LastLine > 0 ? position_(hole.LastLine - 1) : 0.0;
      measured.End = 2 * position_(hole.LastLine) - previous;
    }
    measured.Lines = hole.Lines;
    out_.push_back(measured);
  }

  int line_count_;
  Position position_;
  std::vector<MeasuredHole>& out_;
  std::vector<linking::OpenHole> open_;  // ordered by pixel span
  std::vector<linking::OpenHole> added_;
  std::vector<linking::OpenHole> merged_;
};

}  // namespace tarvelo
