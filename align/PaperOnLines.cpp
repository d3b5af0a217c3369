#include "align/PaperOnLines.h"

#include <cmath>

#include "align/PaperEdges.h"

namespace tarvelo {

std::vector<PaperSpan> PaperOnLines(const ScanMeasurement& measurement, const ScanLineArray& lines) {
  const PaperEdges& edges = measurement.Edges;
  std::vector<PaperSpan> spans(static_cast<size_t>(lines.Size()));
  if (!edges.LowerFound && !edges.UpperFound) return spans;
  const int32_t gap = MarginGap(PaperWidth(edges, measurement.ImageFirst, measurement.ImageLast));
  size_t next = 0;
  for (int i = 0; i < lines.Size(); ++i) {
    const double wander = WanderAt(measurement.WanderPath, lines.Position(i), next);
    PaperSpan& span = spans[static_cast<size_t>(i)];
    if (edges.LowerFound) span.First = static_cast<int32_t>(std::floor(edges.Lower + wander + 0.5)) + gap;
    if (edges.UpperFound) span.Last = static_cast<int32_t>(std::floor(edges.Upper + wander + 0.5)) - gap;
  }
  return spans;
}

}  // namespace tarvelo
