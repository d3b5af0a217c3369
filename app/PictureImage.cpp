#include "app/PictureImage.h"

#include <QFontMetrics>

#include "app/QtText.h"

namespace tarvelo::app {

void CopyToImage(const RgbImage& raster, QImage& image) {
  if (image.width() != raster.width || image.height() != raster.height || image.format() != QImage::Format_RGB32)
    image = QImage(raster.width, raster.height, QImage::Format_RGB32);
  for (int y = 0; y < raster.height; ++y) {
    const uint8_t* from = raster.Row(y);
    auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < raster.width; ++x, from += 3) to[x] = qRgb(from[0], from[1], from[2]);
  }
}

void DrawLabels(QPainter& painter, const Picture& picture, int dx, int dy) {
  const int ascent = painter.fontMetrics().ascent();
  for (const TextLabel& label : picture.Labels) {
    painter.setPen(QColor(ColourRed(label.Colour), ColourGreen(label.Colour), ColourBlue(label.Colour)));
    painter.drawText(label.X + dx, label.Y + dy + ascent, ToQString(label.Text));
  }
}

QPixmap PictureToPixmap(const Picture& picture, const QFont& font) {
  QImage image;
  CopyToImage(picture.Image, image);
  QPainter painter(&image);
  painter.setFont(font);
  DrawLabels(painter, picture);
  painter.end();
  return QPixmap::fromImage(image);
}

}  // namespace tarvelo::app
