#pragma once
// How the roll view lays out the roll: a canvas of fixed size whose vertical scroll range is
// mapped linearly onto the whole roll, however long (the canvas is not as long as the roll);
// the scales sit at the top of the visible area and the scan image starts below them, at
// 63 pixels per inch of roll times the zoom factor.

#include "cis/ScanLineArray.h"

namespace tarvelo {

inline constexpr int kRollCanvasWidth = 1870;
inline constexpr int kRollCanvasHeight = 5000;
inline constexpr int kRollImageTop = 45;  // rows above the first drawn line
inline constexpr double kViewPixelsPerInch = 63.0;
// Scroll steps of the view's scroll bars.
inline constexpr int kVerticalPageStep = 100;
inline constexpr int kVerticalLineStep = 10;
inline constexpr int kHorizontalPageStep = 187;
inline constexpr int kHorizontalLineStep = 18;

// Rows per inch of roll: the integer part of zoom_factor * 63, at least 1 (a factor too small
// or not a number still draws).
int RowsPerInch(double zoom_factor);

// The largest vertical scroll position of a client area `client_height` rows high (0 when
// the area is at least as high as the canvas).
int MaxScrollRow(int client_height);

// The ruler's labels are at most this many rows high in the fonts the front ends write them with;
// two labels are never drawn closer than that. Ticks are never drawn closer than
// kLeastTickSpacing rows.
inline constexpr int kLabelRowHeight = 16;
inline constexpr int kLeastTickSpacing = 4;

// Which marks of the ruler a zoom leaves room for: the quarter, half and whole inch ticks, and
// the inches labelled (every LabelStep inches: 1, 2, 3 or 6 inches, or whole feet at the
// smallest zooms), as a map leaves out names where they would run into each other. Feet are
// always ticked.
struct RulerMarks {
  bool QuarterTicks = true;
  bool HalfTicks = true;
  bool InchTicks = true;
  int LabelStep = 1;
};
RulerMarks RulerMarksAt(int rows_per_inch);

// The lines drawn for a scroll position: First up to but not including End.
struct DrawnLines {
  int First = 0;
  int End = 0;
};

// First: 0 for a roll of at most client_height / 2 lines, otherwise scroll_y / (5000 -
// client_height) of the way through lines 0 .. line_count - client_height / 2, so that the
// bottom of the canvas shows the last lines. End: First plus the lines of client_height /
// rows_per_inch inches at `average_lpi` lines per inch, at most line_count.
DrawnLines LinesToDraw(int line_count, double average_lpi, int rows_per_inch, int scroll_y, int client_height);

// The largest scroll position (0 .. MaxScrollRow) whose first drawn line is at most `line`:
// the view scrolled so that `line` is at the top or, where the scroll steps do not meet it
// exactly, a little below.
int ScrollRowForLine(int line_count, int client_height, int line);

// The first line whose Position is at least `inches`; lines.Size() when there is none.
int FirstLineAtInch(const ScanLineArray& lines, double inches);

}  // namespace tarvelo
