#include "align/MeasureScan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "align/PaperEdges.h"

namespace tarvelo {

namespace {

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

class HoleLinker {
 public:
  HoleLinker(const ScanLineArray& lines, std::vector<MeasuredHole>& out) : lines_(lines), out_(out) {}

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
          if (open_[h].Lines <= kBridgedLines) open_[h].Dropped = true;
          ++h;
        }
      } else if (extended != SIZE_MAX && open_[extended].Last > a) {
        Extend(open_[extended], line, a, b, center, wander);  // a hole split across two runs
      } else if (!added_.empty() && a - added_.back().Last <= kJoinedGap) {
        // Slivers a pixel or two apart on a hole's first line: one hole.
        OpenHole& hole = added_.back();
        hole.Last = b;
        hole.CenterSum = 0.5 * (hole.First + hole.Last) - wander;
        hole.RawCenterSum = 0.5 * (hole.First + hole.Last);
        hole.WidthSum = hole.Last - hole.First;
      } else {
        OpenHole hole;
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
      OpenHole& hole = open_[k];
      if (hole.Dropped) continue;
      if (line - hole.LastLine > kBridgedLines) {
        Close(hole, line);
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
                 [](const OpenHole& x, const OpenHole& y) { return x.First < y.First; });
      open_.swap(merged_);
    }
  }

  void Finish(int line_count) {
    for (const OpenHole& hole : open_)
      if (!hole.Dropped) Close(hole, line_count);
    open_.clear();
  }

 private:
  void Extend(OpenHole& hole, int line, int32_t a, int32_t b, double center, float wander) {
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
  void Close(const OpenHole& hole, int line_count) {
    MeasuredHole measured;
    measured.Center = hole.CenterSum / hole.Lines;
    measured.RawCenter = hole.RawCenterSum / hole.Lines;
    measured.Width = hole.WidthSum / hole.Lines;
    measured.Start = lines_.Position(hole.FirstLine);
    const int after = hole.LastLine + 1;
    if (after < line_count) {
      measured.End = lines_.Position(after);
    } else {
      // The last line: one line spacing beyond it.
      const double previous = hole.LastLine > 0 ? lines_.Position(hole.LastLine - 1) : 0.0;
      measured.End = 2 * lines_.Position(hole.LastLine) - previous;
    }
    measured.Lines = hole.Lines;
    out_.push_back(measured);
  }

  const ScanLineArray& lines_;
  std::vector<MeasuredHole>& out_;
  std::vector<OpenHole> open_;  // ordered by pixel span
  std::vector<OpenHole> added_;
  std::vector<OpenHole> merged_;
};

// Groups holes whose centres lie closer than `gap` pixels, leaving out runs narrower than the
// gap or seen on one line only (specks, fibres), which would otherwise bridge columns.
std::vector<HoleColumn> GroupColumns(const std::vector<MeasuredHole>& holes, double gap) {
  std::vector<HoleColumn> columns;
  double sum = 0;
  double previous = 0;
  for (const MeasuredHole& hole : holes) {
    if (hole.Width < gap || hole.Lines < 2) continue;
    if (columns.empty() || hole.Center - previous > gap) {
      if (!columns.empty()) columns.back().Center = sum / columns.back().Holes;
      columns.push_back(HoleColumn{});
      sum = 0;
    }
    columns.back().Holes += 1;
    sum += hole.Center;
    previous = hole.Center;
  }
  if (!columns.empty()) columns.back().Center = sum / columns.back().Holes;
  return columns;
}

}  // namespace

ScanMeasurement MeasureScan(const ScanForAlignment& scan) {
  ScanMeasurement result;
  result.CrossoverPixel = scan.CrossoverPixel;
  result.ImageFirst = scan.ImageFirst;
  result.ImageLast = scan.ImageLast;
  if (scan.Lines == nullptr || scan.ImageLast <= scan.ImageFirst) return result;
  const ScanLineArray& lines = *scan.Lines;
  const int line_count = lines.Size();
  result.LineCount = line_count;
  if (line_count == 0) return result;
  result.RollLength = lines.Position(line_count - 1);

  const PaperEdgeTrace edges = TracePaperEdges(scan);
  result.Edges = edges.Edges;
  result.WanderSpan = edges.WanderSpan;

  // A ragged margin shows as short runs of hole colour just inside the edge, a pixel or two of
  // paper apart; real holes keep a good stretch of paper (a tenth of an inch and more) from it.
  // Where the paper runs on beyond the sensor, the image's end stands for the edge: holes cut
  // by it are left out the same way.
  const double paper_width = result.Edges.LowerFound && result.Edges.UpperFound
                                 ? result.Edges.Upper - result.Edges.Lower
                                 : 0.93 * (scan.ImageLast - scan.ImageFirst);
  const auto margin_gap = static_cast<int32_t>(std::max(2.0, paper_width / 400));

  HoleLinker linker(lines, result.Holes);
  std::vector<std::pair<int32_t, int32_t>> runs;
  for (int i = 0; i < line_count; ++i) {
    runs.clear();
    const auto index = static_cast<size_t>(i);
    // Holes lie inside the paper: after the lower edge, before the upper, never touching the
    // image's ends (where the paper's margin may run on beyond the sensor).
    const int32_t low = std::max(edges.LowerBound[index], scan.ImageFirst);
    const int32_t high = std::min(edges.UpperBound[index], scan.ImageLast);
    int32_t previous = 0;
    bool hole = scan.HolesAreEvenRuns;
    int32_t margin = low;  // the ragged margin reaches this far
    for (const int32_t t : lines.Transitions(i)) {
      if (hole && previous > low && t < high) {
        if (previous - margin < margin_gap) {
          margin = t;
        } else if (t - previous >= kNarrowestRun) {
          runs.emplace_back(previous, t);
        }
      }
      previous = t;
      hole = !hole;
      if (previous >= high) break;
    }
    int32_t upper_margin = high;
    while (!runs.empty() && upper_margin - runs.back().second < margin_gap) {
      upper_margin = runs.back().first;
      runs.pop_back();
    }
    linker.AddLine(i, runs, edges.Wander[index]);
  }
  linker.Finish(line_count);

  std::stable_sort(result.Holes.begin(), result.Holes.end(),
                   [](const MeasuredHole& a, const MeasuredHole& b) { return a.Center < b.Center; });
  // Columns: holes within a small share of the paper's width of each other (a twelfth of an
  // inch is some 0.7 % of a roll's width; this gap is a third of that).
  result.Columns = GroupColumns(result.Holes, std::max(2.0, paper_width / 400));
  return result;
}

}  // namespace tarvelo
