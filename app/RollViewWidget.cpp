#include "app/RollViewWidget.h"

#include <QGesture>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "app/PictureImage.h"
#include "view/RollViewGeometry.h"

namespace tarvelo::app {

namespace {

// The play line's colour and width: unlike anything else the view draws.
const QColor kPlayLineColour(0, 150, 60);
constexpr int kPlayLineWidth = 3;

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
  viewport()->grabGesture(Qt::PinchGesture);
  UpdateScrollRanges();
}

void RollViewWidget::SetSource(const CisScanData* scan, const TrackStrips* strips) {
  const bool other_scan = scan != scan_;
  scan_ = scan;
  strips_ = strips;
  if (other_scan) held_line_ = LineAtTop();
  viewport()->update();
}

void RollViewWidget::SetViewSettings(const RollViewSettings& settings) {
  settings_ = settings;
  viewport()->update();
}

void RollViewWidget::ScrollToTop() { ScrollToLine(0); }

void RollViewWidget::ScrollToEnd() { ScrollToLine(LineCount()); }

void RollViewWidget::ScrollToInch(double inches) { ScrollToLine(scan_ ? FirstLineAtInch(scan_->Lines, inches) : 0); }

void RollViewWidget::ScrollToLine(int line) {
  UpdateScrollRanges();
  holding_ = true;
  verticalScrollBar()->setValue(ScrollRowFor(line));
  holding_ = false;
  held_line_ = line;
  viewport()->update();
  emit InchAtTopChanged(InchAtTop());
}

int RollViewWidget::ScrollRowFor(int line) const {
  // The start of the roll is at the top of the canvas, however short the roll.
  return line <= 0 ? 0 : ScrollRowForLine(LineCount(), viewport()->height(), line);
}

int RollViewWidget::LineAtTop() const {
  return LinesToDraw(LineCount(), scan_ ? scan_->Run.InterpretedAverageLpi : 0, 1, verticalScrollBar()->value(),
                     viewport()->height())
      .First;
}

double RollViewWidget::InchAtTop() const {
  const int line = LineAtTop();
  return line < LineCount() ? scan_->Lines.Position(line)
         : LineCount() > 0  ? scan_->Lines.Position(LineCount() - 1)
                            : 0;
}

void RollViewWidget::UpdateScrollRanges() {
  horizontalScrollBar()->setRange(0, std::max(0, kRollCanvasWidth - viewport()->width()));
  verticalScrollBar()->setRange(0, MaxScrollRow(viewport()->height()));
}

void RollViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // A scroll position shows other lines at another height: keep the held line at the top.
  const int held = held_line_;
  holding_ = true;
  UpdateScrollRanges();
  verticalScrollBar()->setValue(ScrollRowFor(held));
  holding_ = false;
  held_line_ = held;
}

void RollViewWidget::scrollContentsBy(int /*dx*/, int dy) {
  if (dy != 0 && !holding_) {
    held_line_ = LineAtTop();
    emit InchAtTopChanged(InchAtTop());
  }
  // The scales at the top follow the scroll position, so the whole area is drawn again.
  viewport()->update();
}

void RollViewWidget::keyPressEvent(QKeyEvent* event) {
  const bool to_left = event->modifiers() & Qt::ControlModifier;
  if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
    if (to_left) horizontalScrollBar()->setValue(0);
    if (event->key() == Qt::Key_Home) {
      ScrollToTop();
    } else {
      ScrollToEnd();
    }
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void RollViewWidget::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  // One step for each notch (120 eighths of a degree); touchpads send less at a time.
  wheel_zoom_ += event->angleDelta().y();
  const int steps = wheel_zoom_ / 120;
  wheel_zoom_ -= steps * 120;
  if (steps != 0) emit ZoomStepRequested(steps);
  event->accept();
}

void RollViewWidget::GatherPinch(double log2_scale) {
  // Half a doubling of the pinch makes a step: a zoom step doubles the view.
  pinch_zoom_ += log2_scale;
  const int steps = static_cast<int>(pinch_zoom_ / 0.5);
  pinch_zoom_ -= steps * 0.5;
  if (steps != 0) emit ZoomStepRequested(steps);
}

bool RollViewWidget::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::NativeGesture) {
    // A touchpad's pinch: each event says how much it magnified since the last.
    const auto* gesture = static_cast<QNativeGestureEvent*>(event);
    if (gesture->gestureType() == Qt::BeginNativeGesture) pinch_zoom_ = 0;
    if (gesture->gestureType() == Qt::ZoomNativeGesture && gesture->value() > -1) {
      GatherPinch(std::log2(1 + gesture->value()));
      return true;
    }
  }
  if (event->type() == QEvent::Gesture) {
    // A touch screen's pinch.
    auto* gestures = static_cast<QGestureEvent*>(event);
    if (auto* pinch = static_cast<QPinchGesture*>(gestures->gesture(Qt::PinchGesture))) {
      if (pinch->state() == Qt::GestureStarted) pinch_zoom_ = 0;
      if (pinch->scaleFactor() > 0) GatherPinch(std::log2(pinch->scaleFactor()));
      gestures->accept(pinch);
      return true;
    }
  }
  return QAbstractScrollArea::viewportEvent(event);
}

void RollViewWidget::paintEvent(QPaintEvent* /*event*/) {
  settings_.ScrollX = horizontalScrollBar()->value();
  settings_.ScrollY = verticalScrollBar()->value();
  settings_.ClientWidth = viewport()->width();
  settings_.ClientHeight = viewport()->height();
  settings_.MarkedHoles = marked_holes_;
  DrawRollView(scan_ ? *scan_ : empty_scan_, strips_ ? *strips_ : NoStrips(), settings_, picture_);
  CopyToImage(picture_.Image, image_);

  QPainter painter(viewport());
  painter.drawImage(0, 0, image_);
  painter.setFont(font());
  DrawLabels(painter, picture_);
  if (const std::optional<int> play_row = PlayLineRow()) {
    painter.setPen(QPen(kPlayLineColour, kPlayLineWidth));
    painter.drawLine(0, *play_row, viewport()->width(), *play_row);
  }
  shown_reference_row_ = reference_row_;
  if (reference_row_) {
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(0, *reference_row_, viewport()->width(), *reference_row_);
    reference_row_.reset();  // the next repaint takes it away
  }
}

void RollViewWidget::SetMarkedHoles(std::vector<MarkedHole> holes) {
  marked_holes_ = std::move(holes);
  viewport()->update();
}

void RollViewWidget::ShowPlayLine(std::optional<double> inches) {
  play_inch_ = inches;
  viewport()->update();
}

std::optional<int> RollViewWidget::PlayLineRow() const {
  if (!play_inch_ || LineCount() == 0) return std::nullopt;
  // As DrawRollView places the lines: the first drawn line at kRollImageTop (the roll's start
  // there when the view shows it), each later one its inches times the rows per inch below.
  const int rows_per_inch = RowsPerInch(settings_.ZoomFactor);
  const ScanLineArray& lines = scan_->Lines;
  const int first = LineAtTop();
  const int line = std::min(FirstLineAtInch(lines, *play_inch_), LineCount() - 1);
  if (line < first) return std::nullopt;
  auto row_of = [&](int index) { return static_cast<long long>(rows_per_inch * lines.Position(index)); };
  const long long row = kRollImageTop + row_of(line) - (first > 0 ? row_of(first) : 0);
  if (row >= viewport()->height()) return std::nullopt;
  return static_cast<int>(row);
}

std::optional<double> RollViewWidget::ReferenceInch() const {
  if (!shown_reference_row_ || *shown_reference_row_ < kRollImageTop || LineCount() == 0) return std::nullopt;
  const int rows_per_inch = RowsPerInch(settings_.ZoomFactor);
  const int first = LineAtTop();
  const double base =
      first > 0 ? static_cast<double>(static_cast<long long>(rows_per_inch * scan_->Lines.Position(first))) : 0;
  return (*shown_reference_row_ - kRollImageTop + base) / rows_per_inch;
}

void RollViewWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    reference_row_ = static_cast<int>(event->position().y());
    viewport()->repaint();
  }
  QAbstractScrollArea::mousePressEvent(event);
}

}  // namespace tarvelo::app
