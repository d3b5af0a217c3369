#pragma once
// The roll view: a scroll area over the 1870 x 5000 canvas whose vertical range is mapped onto
// the whole roll. Each repaint draws the visible part through DrawRollView (the core's raster
// and labels), copies the raster into an image and writes the labels with the widget's font.
// The right mouse button draws a horizontal reference line that goes with the next repaint.
// It navigates as a viewer does: the line at the top stays there when the view is resized or
// zoomed; Home and End go to the roll's ends (with Ctrl also back to its left edge); Ctrl with
// the wheel and a pinch ask for zoom steps. While a roll plays, a line across the roll shows
// where it is.

#include <QAbstractScrollArea>
#include <QImage>
#include <optional>
#include <vector>

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
  // The end of the roll at the bottom.
  void ScrollToEnd();
  // Where the roll is at the top of the view: the first line drawn there, and its inch along
  // the roll (0 without lines).
  int LineAtTop() const;
  double InchAtTop() const;

  // Holes marked in their own colour (the off-track holes), by their Start; none: {}.
  void SetMarkedHoles(std::vector<MarkedHole> holes);
  const std::vector<MarkedHole>& MarkedHoles() const { return marked_holes_; }

  // The inch of the roll at the reference line while it is on the screen (drawn by the last
  // repaint, on the roll below the scales); nullopt otherwise.
  std::optional<double> ReferenceInch() const;

  // The play line: a line across the roll at `inches` along it (where the tracker bar is while
  // the roll plays), drawn on every repaint until it is taken away (nullopt).
  void ShowPlayLine(std::optional<double> inches);
  // The row of the client area the play line is drawn at (nullopt: none, or out of sight).
  std::optional<int> PlayLineRow() const;

  // The picture of the last repaint (its raster and labels), for tests and measurements.
  const Picture& LastPicture() const { return picture_; }

 signals:
  // Ctrl with the wheel or a pinch: zoom in (steps above 0) or out.
  void ZoomStepRequested(int steps);
  // The inch at the top of the view changed (scrolled, or another roll shown).
  void InchAtTopChanged(double inches);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void UpdateScrollRanges();
  // Scrolls so that `line` is at the top and keeps it as the line to hold there.
  void ScrollToLine(int line);
  // The scroll position that shows `line` at the top (or just below it).
  int ScrollRowFor(int line) const;
  int LineCount() const { return scan_ ? scan_->Lines.Size() : 0; }
  // Zoom steps from a pinch: `log2_scale` is how much it magnified (1: twice), gathered until
  // it makes a whole step.
  void GatherPinch(double log2_scale);

  const CisScanData* scan_ = nullptr;
  const TrackStrips* strips_ = nullptr;
  CisScanData empty_scan_;
  RollViewSettings settings_;
  Picture picture_;
  QImage image_;
  std::optional<int> reference_row_;
  std::optional<int> shown_reference_row_;  // the reference line the last repaint drew
  std::optional<double> play_inch_;
  std::vector<MarkedHole> marked_holes_;
  // The line the user brought to the top: held there through resizes (which move the lines a
  // scroll position shows) until the user scrolls again.
  int held_line_ = 0;
  bool holding_ = false;  // the view itself is scrolling to the held line
  int wheel_zoom_ = 0;    // eighths of a degree turned with Ctrl, not yet a step
  double pinch_zoom_ = 0;
};

}  // namespace tarvelo::app
