#pragma once
// The spacing histogram window: the three histograms of the last conversion side by side
// per distance (whole roll green, first half red, second half blue), scaled to the largest
// whole-roll count, with the distances below the display threshold greyed out.

#include <string>
#include <string_view>

#include "events/SpacingHistogramStore.h"
#include "settings/DiagnosticSettings.h"
#include "support/Picture.h"

namespace tarvelo {

inline constexpr const char* kSpacingHistogramCaption = "Inter-Event Spacing Histogram";
inline constexpr const char* kSpacingHistogramLegend =
    "Blue on Left, Gold on Right = Takeup Spool Accel Too Low ---  "
    "Blue on Right, Gold on Left = Takeup Spool Accel Too High";
inline constexpr int kHistogramCanvasWidth = 830;
inline constexpr int kHistogramCanvasHeight = 345;

// "Spacing Histogram - " followed by the file name: the window's title line.
std::string SpacingHistogramTitle(std::string_view file_name);

// The canvas: bins from HistogramMinDisplayDistance (at least 1) to 249 as three one-pixel
// columns each, 3 pixels per thousandth of an inch from column 50, up to 300 rows high for
// the largest whole-roll count among them; the largest count as text at the top left and the
// distance axis's labels below. Empty histograms draw only the texts (the largest count 0).
Picture DrawSpacingHistogram(const SpacingHistogramStore& store, const DiagnosticSettings& settings);

// The window's content in one picture, for a front end that shows it as an image: the title
// line, the canvas below it and the legend under the canvas, on the dialog background.
Picture DrawSpacingHistogramWindow(const SpacingHistogramStore& store, const DiagnosticSettings& settings,
                                   std::string_view file_name);

}  // namespace tarvelo
