#pragma once
// The roll view: a scroll area over the 1870 x 5000 canvas whose vertical range is mapped onto
// the whole roll. Each repaint draws the visible part through DrawRollView (the core's raster
// and labels), copies the raster into an image and writes the labels with the widget's font.
// The right mouse button draws a horizontal reference line that goes with the next repaint.

#include <QAbstractScrollArea>
#include <QImage>
#include <optional>

#include "cis/CisScanData.h"
#include "support/Picture.h"
#include "view/RollView.h"
#include "view/TrackStrips.h"

namespace tarvelo::app {

class RollViewWidget : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit RollViewWidget(QWidget* parent = nullptr);

  // What the view draws; both must outlive the view or be replaced before they go.
  void SetSource(const CisScanData* scan, const TrackStrips* strips);
  // The scanner values, zoom, tracking and crossover switches of the next repaints (the scroll
  // position and client size are the view's own).
  void SetViewSettings(const RollViewSettings& settings);
  const RollViewSettings& ViewSettings() const { return settings_; }
  // Back to the start of the roll.
  void ScrollToTop();
  // Scrolled so that the first line at `inches` along the roll is at the top (or, where the
  // scroll steps do not meet it exactly, a little below); the end of the roll for an inch
  // beyond it.
  void ScrollToInch(double inches);

  // The picture of the last repaint (its raster and labels), for tests and measurements.
  const Picture& LastPicture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateScrollRanges();

  const CisScanData* scan_ = nullptr;
  const TrackStrips* strips_ = nullptr;
  CisScanData empty_scan_;
  RollViewSettings settings_;
  Picture picture_;
  QImage image_;
  std::optional<int> reference_row_;
};

}  // namespace tarvelo::app
