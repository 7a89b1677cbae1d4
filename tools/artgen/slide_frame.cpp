#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/slides.h"

namespace ostrel::artgen {

namespace {

void SoftShadow(QPainter& painter, const QRectF& box, qreal radius) {
  // Layers of a dark blue, each a little wider and fainter: a blurred shadow below the box.
  for (int i = 6; i >= 1; --i) {
    FillRounded(painter, box.adjusted(-i, -i + 4, i, i + 4), radius + i, Rgb(0x1A4FB8, 10));
  }
}

}  // namespace

QImage SlideGround(const QString& headline, const QString& subline) {
  QImage picture = BlankPicture(640, 480, Rgb(kSlideBlue));
  QPainter painter(&picture);
  Smooth(painter);
  // Faint rings and discs in the ground, away from the corners the window's close cross uses.
  painter.setPen(QPen(Rgb(0xFFFFFF, 22), 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(36, 300), 70, 70);
  painter.drawEllipse(QPointF(604, 190), 48, 48);
  Disc(painter, QPointF(560, 400), 90, Rgb(0xFFFFFF, 12));
  Disc(painter, QPointF(70, 110), 26, Rgb(0xFFFFFF, 14));

  Text(painter, QRectF(0, 30, 640, 44), headline, UiFont(30, true), Rgb(0xFFFFFF));
  Text(painter, QRectF(0, 78, 640, 24), subline, UiFont(15), Rgb(0xFFFFFF, 210));
  return picture;
}

QRectF ProductWindow(QPainter& painter, const QRectF& frame, const QString& title) {
  SoftShadow(painter, frame, 8);
  FillRounded(painter, frame, 8, Rgb(0xFFFFFF));
  // Title bar: logo dot, product name, window buttons.
  const QRectF titleBar(frame.left(), frame.top(), frame.width(), 30);
  painter.save();
  painter.setClipRect(titleBar);
  FillRounded(painter, titleBar.adjusted(0, 0, 0, 10), 8, Rgb(0x2F6FE0));
  painter.restore();
  Disc(painter, QPointF(titleBar.left() + 16, titleBar.center().y()), 6, Rgb(0xFFFFFF));
  Disc(painter, QPointF(titleBar.left() + 16, titleBar.center().y()), 3, Rgb(0x2F6FE0));
  Text(painter, QRectF(titleBar.left() + 28, titleBar.top(), 200, 30), title, UiFont(12),
       Rgb(0xFFFFFF), Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 3; ++i) {
    Disc(painter, QPointF(titleBar.right() - 16 - i * 16, titleBar.center().y()), 3.5,
         Rgb(0xFFFFFF, 150));
  }
  return QRectF(frame.left(), titleBar.bottom(), frame.width(), frame.height() - 30);
}

void MenuColumn(QPainter& painter, const QRectF& area, int entries, int selected) {
  painter.save();
  painter.setClipRect(area);
  FillRounded(painter, area.adjusted(0, -10, 0, 0), 8, Rgb(kPanel));
  painter.restore();
  for (int i = 0; i < entries; ++i) {
    const QRectF row(area.left() + 8, area.top() + 12 + i * 34, area.width() - 16, 26);
    const bool on = i == selected;
    if (on) FillRounded(painter, row, 5, Rgb(0x3B85FF));
    Disc(painter, QPointF(row.left() + 13, row.center().y()), 5,
         on ? Rgb(0xFFFFFF) : Rgb(kInkDark));
    Bar(painter, row.left() + 24, row.center().y() - 3,
        row.width() * (on ? 0.55 : 0.45 + 0.05 * (i % 3)), 6, on ? Rgb(0xFFFFFF, 220) : Rgb(kInk));
  }
}

void FloatingCard(QPainter& painter, const QRectF& box) {
  SoftShadow(painter, box, 8);
  FillRounded(painter, box, 8, Rgb(0xFFFFFF));
}

}  // namespace ostrel::artgen
