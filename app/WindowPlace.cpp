#include "app/WindowPlace.h"

#include <algorithm>

namespace tarvelo::app {

namespace {

// `length` within the area's `room`, at least `least` where the room allows.
int HeldLength(int length, int least, int room) { return std::max(std::min(length, room), std::min(least, room)); }

// `start` moved so that `length` from it lies within [area_start, area_start + room).
int HeldStart(int start, int length, int area_start, int room) {
  return std::clamp(start, area_start, std::max(area_start + room - length, area_start));
}

}  // namespace

WindowGeometry WindowPlace(const ScreenArea& available, const std::optional<WindowGeometry>& stored, int least_width,
                           int least_height) {
  const int room_width = std::max(available.Width - kFrameAllowanceWidth, 1);
  const int room_height = std::max(available.Height - kFrameAllowanceHeight, 1);
  WindowGeometry place;
  if (stored && stored->Width > 0 && stored->Height > 0) {
    place = *stored;
    place.Width = HeldLength(stored->Width, least_width, room_width);
    place.Height = HeldLength(stored->Height, least_height, room_height);
    place.Left = HeldStart(stored->Left, place.Width + kFrameAllowanceWidth, available.Left, available.Width);
    place.Top = HeldStart(stored->Top, place.Height + kFrameAllowanceHeight, available.Top, available.Height);
    return place;
  }
  place.Width = HeldLength(std::min(available.Width * 9 / 10, kFirstWindowWidthLimit), least_width, room_width);
  place.Height = HeldLength(available.Height * 9 / 10, least_height, room_height);
  place.Left = available.Left + (available.Width - place.Width - kFrameAllowanceWidth) / 2;
  place.Top = available.Top + (available.Height - place.Height - kFrameAllowanceHeight) / 2;
  place.Left = std::max(place.Left, available.Left);
  place.Top = std::max(place.Top, available.Top);
  return place;
}

}  // namespace tarvelo::app
