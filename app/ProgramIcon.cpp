#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace tarvelo::app {

namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal unit = size / 32.0;
  // The spool across the top, the paper below it.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(140, 90, 40));
  painter.drawRoundedRect(QRectF(2 * unit, 2 * unit, 28 * unit, 6 * unit), 2 * unit, 2 * unit);
  painter.setBrush(QColor(245, 235, 200));
  painter.setPen(QPen(QColor(120, 110, 90), unit));
  painter.drawRect(QRectF(5 * unit, 7 * unit, 22 * unit, 23 * unit));
  // Holes in a few tracks, of different lengths, as notes of a roll.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(30, 30, 30));
  const qreal columns[] = {8, 12, 16, 20, 24};
  const qreal starts[] = {10, 14, 11, 18, 12};
  const qreal lengths[] = {8, 4, 12, 6, 3};
  for (int track = 0; track < 5; ++track) {
    painter.drawRoundedRect(QRectF((columns[track] - 1) * unit, starts[track] * unit, 2 * unit, lengths[track] * unit),
                            unit, unit);
  }
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawIcon(size));
  return icon;
}

}  // namespace tarvelo::app
