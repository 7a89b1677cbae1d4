// Pictures under the window's buttons and fields: flat fills with antialiased rounded edges.
#include <QPainterPath>
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"

namespace ostrel::artgen {

namespace {

QImage crossPicture(int size, qreal inset, qreal strokeWidth, QColor colour) {
  QImage picture = blankPicture(size, size);
  QPainter painter(&picture);
  smooth(painter);
  painter.setPen(QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap));
  const qreal far = size - inset;
  // One path for both strokes, so that a partly transparent colour stays even where they cross.
  QPainterPath cross;
  cross.moveTo(inset, inset);
  cross.lineTo(far, far);
  cross.moveTo(far, inset);
  cross.lineTo(inset, far);
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(cross);
  return picture;
}

}  // namespace

QImage blueButton(unsigned fill) {
  QImage picture = blankPicture(200, 44);
  QPainter painter(&picture);
  smooth(painter);
  fillRounded(painter, QRectF(0, 0, 200, 44), 22, rgb(fill));
  return picture;
}

QImage whiteButton(unsigned fill, unsigned border) {
  QImage picture = blankPicture(90, 36);
  QPainter painter(&picture);
  smooth(painter);
  outlinedRounded(painter, picture.rect(), 4, rgb(fill), rgb(border));
  return picture;
}

QImage closeCross(unsigned colour) { return crossPicture(16, 3.5, 1.6, rgb(colour)); }

QImage smallCloseCross(unsigned colour, int alpha) {
  return crossPicture(10, 1.75, 1.4, rgb(colour, alpha));
}

QImage inputFrame() {
  QImage picture = blankPicture(300, 36);
  QPainter painter(&picture);
  smooth(painter);
  outlinedRounded(painter, picture.rect(), 4, rgb(0xFFFFFF), rgb(0xD5D5D5));
  return picture;
}

QImage editionBadge() {
  // Top-right and bottom-left corners rounded, the other two square.
  const qreal w = 58, h = 20, r = 8;
  QPainterPath shape;
  shape.moveTo(0, 0);
  shape.lineTo(w - r, 0);
  shape.arcTo(QRectF(w - 2 * r, 0, 2 * r, 2 * r), 90, -90);
  shape.lineTo(w, h);
  shape.lineTo(r, h);
  shape.arcTo(QRectF(0, h - 2 * r, 2 * r, 2 * r), 270, -90);
  shape.closeSubpath();
  QImage picture = blankPicture(58, 20);
  QPainter painter(&picture);
  smooth(painter);
  painter.fillPath(shape, rgb(0xF75858));
  return picture;
}

}  // namespace ostrel::artgen
