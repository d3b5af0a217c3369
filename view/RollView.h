#pragma once
// The roll view's picture: the scan as the scanner saw it, one dot per transition of every
// visible scan line, over the roll type's track colours, with a ruler of inches and feet
// down the left side and the roll-edge and track scales at the top of the visible area.
// The desktop view and the command line's `render` draw the same picture through this.

#include <span>

#include "cis/CisScanData.h"
#include "support/Picture.h"
#include "view/RollViewGeometry.h"
#include "view/TrackStrips.h"

namespace tarvelo {

// A hole the view marks (one lying off its track, say): where the scan has it, along the roll
// in inches and across in sensor pixels as scanned.
struct MarkedHole {
  double Start = 0;
  double End = 0;
  double Left = 0;
  double Right = 0;
  int FirstLine = 0;  // its first scan line (whose tracking correction moves the mark with the dots)
};

// What the view reads besides the scan and the strips. The scanner values are the live
// scanner record's; the rectangle is the visible part of the 1870 x 5000 canvas.
struct RollViewSettings {
  int ScannerDPI = 0;        // sensor pixels per inch across the roll
  double ScannerOffset = 0;  // inches
  double ScannerAlignStretch = 1.0;
  double ZoomFactor = 1.0;               // see ZoomLevel
  bool ShowTrackingCorrections = false;  // dots moved by each line's TrackingOffset
  bool ShowCrossoverLine = true;         // "Twin Array Settings": mark a twin-array scan's join
  int ScrollX = 0;                       // canvas column at the left edge of the client area
  int ScrollY = 0;                       // canvas row at the top of the client area
  int ClientWidth = 1000;
  int ClientHeight = 600;
  // Holes drawn in kMarkedHoleColour behind the dots, by their Start; the caller keeps them.
  std::span<const MarkedHole> MarkedHoles;
};

// Colours of the view.
inline constexpr uint32_t kViewBackground = MakeColour(255, 255, 255);
inline constexpr uint32_t kRulerBackground = MakeColour(255, 255, 170);
inline constexpr uint32_t kRulerTick = MakeColour(255, 0, 0);
inline constexpr uint32_t kFootTick = MakeColour(0, 0, 255);
inline constexpr uint32_t kTransitionDot = MakeColour(8, 0, 0);
inline constexpr uint32_t kCrossoverDot = MakeColour(0, 0, 200);
// Unlike the track colours, the ruler and the dots: a strong orange.
inline constexpr uint32_t kMarkedHoleColour = MakeColour(255, 110, 0);

// Draws the client area: `picture` becomes ClientWidth x ClientHeight pixels showing the
// canvas from (ScrollX, ScrollY), held to the scroll range, with the ruler's numbers and the
// inch and foot labels in its Labels. Reuses the picture's storage when its size is unchanged.
// Only the lines that fit in the client height are drawn (see LinesToDraw), so the time does
// not grow with the length of the roll. `strips` as RenderTrackStrips left them (strips never
// rendered show no scales).
void DrawRollView(const CisScanData& scan, const TrackStrips& strips, const RollViewSettings& settings,
                  Picture& picture);

// The columns of the canvas the view draws into, from its left edge: up to the roll's upper
// edge on the track strips or the scan's widest line, whichever lies further right, with a margin
// of 10 columns; at most the canvas width, at least the ruler's. A picture of the view needs
// no more.
int DrawnCanvasWidth(const CisScanData& scan, const TrackStrips& strips, const RollViewSettings& settings);

}  // namespace tarvelo
