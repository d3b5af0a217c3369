#pragma once
// Where the main window opens on a screen: at its first start, centred on the screen's
// available area (the desktop without panels and docks) and nine tenths of it in each direction
// (at most kFirstWindowWidthLimit wide: the roll view shows no more than that); afterwards
// where it was, held within the available area, for a screen may be smaller now or scaled up
// since (QT_SCALE_FACTOR=2 halves the area in the window's pixels). A window never opens larger
// than the area less its frame.

#include <optional>

#include "app/DesktopProfile.h"

namespace tarvelo::app {

inline constexpr int kFirstWindowWidthLimit = 1600;
// Room for the window system's frame around the window (title bar, borders).
inline constexpr int kFrameAllowanceWidth = 16;
inline constexpr int kFrameAllowanceHeight = 40;

struct ScreenArea {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// The window's place (Maximized as stored). `least_width` and `least_height` are the least
// size the window's contents take; the window gets it where the area has the room.
WindowGeometry WindowPlace(const ScreenArea& available, const std::optional<WindowGeometry>& stored,
                           int least_width = 0, int least_height = 0);

}  // namespace tarvelo::app
