#include "view/RollOverview.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "view/RollView.h"
#include "view/RollViewGeometry.h"

namespace tarvelo {

namespace {

constexpr int kTracksLeft = kOverviewRulerWidth + kOverviewMargin;
constexpr int kLabelLeft = 8;
constexpr int kFootTickLeft = kOverviewRulerWidth - 10;
constexpr uint32_t kHole = MakeColour(8, 0, 0);

// The span across the roll the picture shows, in inches: its expected paper edges and every
// track that carries holes.
struct Span {
  double Lower = 0;
  double Upper = 0;
};

Span RollSpan(const RollTypeDefinition& roll) {
  Span span{roll.LowerRollEdgeExpectedLocation, roll.UpperRollEdgeExpectedLocation};
  const int lowest = std::clamp(roll.LowestTrackHoleNumber, 0, kTrackSlots - 1);
  const int highest = std::clamp(roll.HighestTrackHoleNumber, 0, kTrackSlots - 1);
  for (int track = lowest; track <= highest; ++track) {
    const auto t = static_cast<size_t>(track);
    span.Lower = std::min(span.Lower, roll.TrackLowerBoundary[t]);
    span.Upper = std::max(span.Upper, roll.TrackUpperBoundary[t]);
  }
  if (!(span.Upper > span.Lower)) span = {0, 11.25};  // no usable layout: a standard roll's width
  return span;
}

// The number of feet between two labels: the first of 1, 2, 5, 10, 20, 50, ... feet that
// keeps the labels a label's height and a little more apart at `rows_per_foot`.
long long LabelStepFeet(double rows_per_foot) {
  constexpr double kLeastRows = kLabelRowHeight + 2;
  for (long long decade = 1;; decade *= 10) {
    for (const long long step : {decade, 2 * decade, 5 * decade})
      if (step * rows_per_foot >= kLeastRows || decade > 1000000000LL) return step;
  }
}

}  // namespace

double ScannedLength(const CisScanData& scan) {
  return scan.Lines.Empty() ? 0.0 : std::max(0.0, scan.Lines.Position(scan.Lines.Size() - 1));
}

void DrawRollOverview(double length, const HoleList& holes, const RollTypeDefinition& roll, const OverviewSize& size,
                      Picture& picture) {
  const int width = std::max(size.Width, kOverviewLeastWidth);
  const Span span = RollSpan(roll);
  const double columns_per_inch = (width - kTracksLeft - kOverviewMargin) / (span.Upper - span.Lower);
  if (!(length > 0) || !std::isfinite(length)) length = 0;
  // The roll's length at the scale of its width, if the height allows it.
  const double natural_rows = std::ceil(length * columns_per_inch);
  const int most_rows = std::max(size.MostHeight - 2 * kOverviewMargin, 1);
  const int rows = static_cast<int>(std::clamp(natural_rows, 1.0, static_cast<double>(most_rows)));
  const double rows_per_inch = length > 0 ? rows / length : columns_per_inch;
  const int height = rows + 2 * kOverviewMargin;

  picture.Image = RgbImage(width, height, kViewBackground);
  picture.Labels.clear();
  RgbImage& image = picture.Image;
  const auto column = [&](double inches) {
    return kTracksLeft + static_cast<int>(std::floor((inches - span.Lower) * columns_per_inch));
  };
  const auto row = [&](double inches) {
    return kOverviewMargin + static_cast<int>(std::floor(std::clamp(inches, 0.0, length) * rows_per_inch));
  };

  // The tracks' bands, each at least a column wide.
  const int lowest = std::clamp(roll.LowestTrackHoleNumber, 0, kTrackSlots - 1);
  const int highest = std::clamp(roll.HighestTrackHoleNumber, 0, kTrackSlots - 1);
  for (int track = lowest; track <= highest; ++track) {
    const auto t = static_cast<size_t>(track);
    const int left = column(roll.TrackLowerBoundary[t]);
    const int right = std::max(left + 1, column(roll.TrackUpperBoundary[t]));
    image.FillRect(left, kOverviewMargin, right - left, rows, roll.TrackBackgroundColor[t]);
  }
  // The holes over their bands, at least a pixel each way.
  for (const PunchedHole& hole : holes) {
    if (hole.Removed || hole.Track < 0 || hole.Track >= kTrackSlots) continue;
    const auto t = static_cast<size_t>(hole.Track);
    const int left = column(roll.TrackLowerBoundary[t]);
    const int right = std::max(left + 1, column(roll.TrackUpperBoundary[t]));
    const int top = row(hole.StartPosition);
    const int bottom = std::max(top + 1, row(hole.EndPosition));
    image.FillRect(left, top, right - left, bottom - top, kHole);
  }

  // The ruler: its band, a tick at every foot that leaves room, a label every few feet.
  image.FillRect(0, kOverviewMargin, kOverviewRulerWidth, rows, kRulerBackground);
  const double rows_per_foot = 12 * rows_per_inch;
  const long long label_step = LabelStepFeet(rows_per_foot);
  const long long tick_step = rows_per_foot >= kLeastTickSpacing ? 1 : label_step;
  for (long long foot = 0; foot * 12.0 <= length; foot += tick_step) {
    const int tick_row = row(foot * 12.0);
    image.HorizontalLine(kFootTickLeft, kOverviewRulerWidth, tick_row, kFootTick);
    // A label below its tick, where it fits above the picture's bottom.
    if (foot % label_step == 0 && tick_row + 1 + kLabelRowHeight <= height)
      picture.Labels.push_back({kLabelLeft, tick_row + 1, std::to_string(foot) + " feet", MakeColour(0, 0, 0)});
  }
}

}  // namespace tarvelo
