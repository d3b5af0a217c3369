#include "view/RollViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tarvelo {

namespace {

int FirstDrawnLine(int line_count, int client_height, int scroll_y) {
  const int half_height = client_height / 2;
  const int scroll_range = kRollCanvasHeight - client_height;
  // A client area as high as the canvas cannot scroll: the roll is shown from its start.
  if (line_count <= half_height || scroll_range <= 0) return 0;
  const double first = static_cast<double>(scroll_y) / scroll_range * (line_count - half_height);
  if (!(first > 0)) return 0;
  return first >= line_count ? line_count : static_cast<int>(first);
}

}  // namespace

int RowsPerInch(double zoom_factor) {
  const double rows = zoom_factor * kViewPixelsPerInch;
  if (!(rows >= 1.0)) return 1;
  return rows >= 1.0e6 ? 1000000 : static_cast<int>(rows);
}

RulerMarks RulerMarksAt(int rows_per_inch) {
  RulerMarks marks;
  marks.QuarterTicks = rows_per_inch >= 4 * kLeastTickSpacing;
  marks.HalfTicks = rows_per_inch >= 2 * kLeastTickSpacing;
  marks.InchTicks = rows_per_inch >= kLeastTickSpacing;
  // Steps that divide a foot, then whole feet.
  static constexpr int kSteps[] = {1, 2, 3, 6, 12, 24, 36, 60, 120, 240, 600, 1200};
  const long long rows = std::max(rows_per_inch, 1);
  marks.LabelStep = kSteps[std::size(kSteps) - 1];
  for (const int step : kSteps) {
    if (step * rows >= kLabelRowHeight) {
      marks.LabelStep = step;
      break;
    }
  }
  return marks;
}

int MaxScrollRow(int client_height) { return std::max(kRollCanvasHeight - client_height, 0); }

DrawnLines LinesToDraw(int line_count, double average_lpi, int rows_per_inch, int scroll_y, int client_height) {
  DrawnLines lines;
  if (line_count <= 0) return lines;
  lines.First = FirstDrawnLine(line_count, client_height, scroll_y);
  // The inches the client area shows, in lines; a rate that is no number draws nothing.
  const double count = static_cast<double>(client_height) / std::max(rows_per_inch, 1) * average_lpi;
  const int remaining = line_count - lines.First;
  lines.End = lines.First + (!(count > 0) ? 0 : count >= remaining ? remaining : static_cast<int>(count));
  return lines;
}

int ScrollRowForLine(int line_count, int client_height, int line) {
  // The first drawn line grows with the scroll position: search the last position not past `line`.
  int low = 0, high = MaxScrollRow(client_height);
  if (FirstDrawnLine(line_count, client_height, high) <= line) return high;
  while (high - low > 1) {
    const int middle = low + (high - low) / 2;
    (FirstDrawnLine(line_count, client_height, middle) <= line ? low : high) = middle;
  }
  return low;
}

int FirstLineAtInch(const ScanLineArray& lines, double inches) {
  const int count = lines.Size();
  for (int line = 0; line < count; ++line)
    if (lines.Position(line) >= inches) return line;
  return count;
}

}  // namespace tarvelo
