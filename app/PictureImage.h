#pragma once
// Shows the core's pictures in Qt: the raster copied into a QImage pixel by pixel, and the
// text labels written with a widget's font, each with its cell's top-left corner at its place.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "support/Picture.h"

namespace tarvelo::app {

// Copies `raster` into `image`, which is made raster-sized in a 32-bit format when it is not
// (and reused otherwise).
void CopyToImage(const RgbImage& raster, QImage& image);

// Writes `picture`'s labels with `painter`'s font, shifted by (dx, dy).
void DrawLabels(QPainter& painter, const Picture& picture, int dx = 0, int dy = 0);

// The whole picture, labels written in `font`.
QPixmap PictureToPixmap(const Picture& picture, const QFont& font);

}  // namespace tarvelo::app
