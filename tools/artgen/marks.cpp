// Round marks: the product logo of the folder page and the completion mark of the done page.
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"

namespace ostrel::artgen {

QImage ProductLogo() {
  QImage picture = BlankPicture(90, 90);
  QPainter painter(&picture);
  Smooth(painter);
  const QPointF centre(45, 45);
  // White disc with a faint blue rim so that it stands out on the white page.
  Disc(painter, centre, 45, Rgb(0xDCE5FB));
  Disc(painter, centre, 43.5, Rgb(0xFFFFFF));

  // Letter mark: a bold "O" open at the top right, with a dot in the opening.
  painter.setPen(QPen(Rgb(kLogoBlue), 11, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  const QRectF ring(centre.x() - 20, centre.y() - 20, 40, 40);
  painter.drawArc(ring, 75 * 16, 300 * 16);  // from 75 degrees round to 15 degrees
  Disc(painter, QPointF(centre.x() + 17.5, centre.y() - 17.5), 6.5, Rgb(kLogoBlue));
  return picture;
}

QImage ProgramIcon(int side) {
  QImage picture = BlankPicture(side, side);
  QPainter painter(&picture);
  Smooth(painter);
  const qreal unit = side / 32.0;  // drawn on a 32-unit grid
  FillRounded(painter, QRectF(1 * unit, 1 * unit, 30 * unit, 30 * unit), 6 * unit, Rgb(kLogoBlue));
  // The logo's open "O" with its dot, in white.
  painter.setPen(QPen(Rgb(0xFFFFFF), 4.2 * unit, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(8.5 * unit, 8.5 * unit, 15 * unit, 15 * unit), 75 * 16, 300 * 16);
  Disc(painter, QPointF(22.6 * unit, 9.4 * unit), 2.5 * unit, Rgb(0xFFFFFF));
  return picture;
}

QImage CompletionMark() {
  QImage picture = BlankPicture(44, 44);
  QPainter painter(&picture);
  Smooth(painter);
  Disc(painter, QPointF(22, 22), 22, Rgb(kGreen));
  CheckMark(painter, QRectF(9, 9, 26, 26), 3.6, Rgb(0xFFFFFF));
  return picture;
}

}  // namespace ostrel::artgen
