#include "app/RollViewWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/PictureImage.h"
#include "view/RollViewGeometry.h"

namespace tarvelo::app {

namespace {

// About the size of the texts the command line's pictures carry, so both look alike.
constexpr int kLabelPixelSize = 12;

const TrackStrips& NoStrips() {
  static const TrackStrips strips = InitialTrackStrips();
  return strips;
}

}  // namespace

RollViewWidget::RollViewWidget(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName("rollView");
  QFont label_font = font();
  label_font.setPixelSize(kLabelPixelSize);
  setFont(label_font);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  horizontalScrollBar()->setSingleStep(kHorizontalLineStep);
  horizontalScrollBar()->setPageStep(kHorizontalPageStep);
  verticalScrollBar()->setSingleStep(kVerticalLineStep);
  verticalScrollBar()->setPageStep(kVerticalPageStep);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  UpdateScrollRanges();
}

void RollViewWidget::SetSource(const CisScanData* scan, const TrackStrips* strips) {
  scan_ = scan;
  strips_ = strips;
  viewport()->update();
}

void RollViewWidget::SetViewSettings(const RollViewSettings& settings) {
  settings_ = settings;
  viewport()->update();
}

void RollViewWidget::ScrollToTop() {
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void RollViewWidget::ScrollToInch(double inches) {
  UpdateScrollRanges();
  const int line_count = scan_ ? scan_->Lines.Size() : 0;
  const int line = scan_ ? FirstLineAtInch(scan_->Lines, inches) : 0;
  verticalScrollBar()->setValue(ScrollRowForLine(line_count, viewport()->height(), line));
  viewport()->update();
}

void RollViewWidget::UpdateScrollRanges() {
  horizontalScrollBar()->setRange(0, std::max(0, kRollCanvasWidth - viewport()->width()));
  verticalScrollBar()->setRange(0, MaxScrollRow(viewport()->height()));
}

void RollViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

void RollViewWidget::scrollContentsBy(int /*dx*/, int /*dy*/) {
  // The scales at the top follow the scroll position, so the whole area is drawn again.
  viewport()->update();
}

void RollViewWidget::paintEvent(QPaintEvent* /*event*/) {
  settings_.ScrollX = horizontalScrollBar()->value();
  settings_.ScrollY = verticalScrollBar()->value();
  settings_.ClientWidth = viewport()->width();
  settings_.ClientHeight = viewport()->height();
  DrawRollView(scan_ ? *scan_ : empty_scan_, strips_ ? *strips_ : NoStrips(), settings_, picture_);
  CopyToImage(picture_.Image, image_);

  QPainter painter(viewport());
  painter.drawImage(0, 0, image_);
  painter.setFont(font());
  DrawLabels(painter, picture_);
  if (reference_row_) {
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(0, *reference_row_, viewport()->width(), *reference_row_);
    reference_row_.reset();  // the next repaint takes it away
  }
}

void RollViewWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    reference_row_ = static_cast<int>(event->position().y());
    viewport()->repaint();
  }
  QAbstractScrollArea::mousePressEvent(event);
}

}  // namespace tarvelo::app
