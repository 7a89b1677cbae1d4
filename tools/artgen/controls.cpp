// Pictures under the window's buttons and fields: flat fills with antialiased rounded edges.
#include <QPainterPath>
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"

namespace ostrel::artgen {

namespace {

QImage CrossPicture(int size, qreal inset, qreal strokeWidth, QColor colour) {
  QImage picture = BlankPicture(size, size);
  QPainter painter(&picture);
  Smooth(painter);
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

QImage BlueButton(unsigned fill) {
  QImage picture = BlankPicture(200, 44);
  QPainter painter(&picture);
  Smooth(painter);
  FillRounded(painter, QRectF(0, 0, 200, 44), 22, Rgb(fill));
  return picture;
}

QImage WhiteButton(unsigned fill, unsigned border) {
  QImage picture = BlankPicture(90, 36);
  QPainter painter(&picture);
  Smooth(painter);
  OutlinedRounded(painter, picture.rect(), 4, Rgb(fill), Rgb(border));
  return picture;
}

QImage CloseCross(unsigned colour) { return CrossPicture(16, 3.5, 1.6, Rgb(colour)); }

QImage SmallCloseCross(unsigned colour, int alpha) {
  return CrossPicture(10, 1.75, 1.4, Rgb(colour, alpha));
}

QImage InputFrame() {
  QImage picture = BlankPicture(300, 36);
  QPainter painter(&picture);
  Smooth(painter);
  OutlinedRounded(painter, picture.rect(), 4, Rgb(0xFFFFFF), Rgb(0xD5D5D5));
  return picture;
}

QImage EditionBadge() {
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
  QImage picture = BlankPicture(58, 20);
  QPainter painter(&picture);
  Smooth(painter);
  painter.fillPath(shape, Rgb(0xF75858));
  return picture;
}

}  // namespace ostrel::artgen
