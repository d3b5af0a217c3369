#include "align/MeasureScan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "align/HoleLinker.h"
#include "align/HoleOrder.h"
#include "align/LineSampling.h"
#include "align/PaperEdges.h"

namespace tarvelo {

namespace {

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

  // Holes are a twentieth of an inch long and more: lines about 1/150 inch apart show each one
  // on several lines, its centre and width as well as every line would.
  const std::vector<int> sampled = SampleLines(lines, kMeasuredLineSpacing);
  const auto sample_count = static_cast<int>(sampled.size());
  const PaperEdgeTrace edges = TracePaperEdges(scan, sampled);
  result.Edges = edges.Edges;
  result.WanderSpan = edges.WanderSpan;
  result.WanderPath = edges.WanderPath;
  if (!edges.Wander.empty()) result.StartWander = edges.Wander.front();

  // A ragged margin shows as short runs of hole colour just inside the edge, a pixel or two of
  // paper apart; real holes keep a good stretch of paper (a tenth of an inch and more) from it.
  // Where the paper runs on beyond the sensor, the image's end stands for the edge: holes cut
  // by it are left out the same way.
  const double paper_width = PaperWidth(result.Edges, scan.ImageFirst, scan.ImageLast);
  const int32_t margin_gap = MarginGap(paper_width);

  const std::vector<double>& positions = edges.Positions;
  HoleLinker linker(
      sample_count, [&](int sample) { return positions[static_cast<size_t>(sample)]; }, result.Holes);
  std::vector<std::pair<int32_t, int32_t>> runs;
  for (int i = 0; i < sample_count; ++i) {
    runs.clear();
    const auto index = static_cast<size_t>(i);
    // Holes lie inside the paper: after the lower edge, before the upper, never touching the
    // image's ends (where the paper's margin may run on beyond the sensor).
    const int32_t low = std::max(edges.LowerBound[index], scan.ImageFirst);
    const int32_t high = std::min(edges.UpperBound[index], scan.ImageLast);
    int32_t previous = 0;
    bool hole = FirstRunIsHole(scan.Polarity);
    int32_t margin = low;  // the ragged margin reaches this far
    for (const int32_t t : lines.Transitions(sampled[index])) {
      if (hole && previous > low && t < high) {
        if (previous - margin < margin_gap) {
          margin = t;
        } else if (t - previous >= linking::kNarrowestRun) {
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
  linker.Finish();

  SortByCenter(result.Holes);
  // Columns: holes within a small share of the paper's width of each other (a twelfth of an
  // inch is some 0.7 % of a roll's width; this gap is a third of that).
  result.Columns = GroupColumns(result.Holes, std::max(2.0, paper_width / 400));
  return result;
}

}  // namespace tarvelo
