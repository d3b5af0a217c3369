#include "app/LampWidget.h"

#include <QPainter>

#include "support/RgbImage.h"

namespace tarvelo::app {

LampWidget::LampWidget(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

void LampWidget::SetLamp(Lamp lamp) {
  if (lamp == lamp_) return;
  lamp_ = lamp;
  update();
}

void LampWidget::paintEvent(QPaintEvent* /*event*/) {
  const uint32_t colour = LampColour(lamp_);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QColor(96, 96, 96));
  painter.setBrush(QColor(ColourRed(colour), ColourGreen(colour), ColourBlue(colour)));
  painter.drawEllipse(QRectF(1.5, 1.5, width() - 3.0, height() - 3.0));
}

}  // namespace tarvelo::app
