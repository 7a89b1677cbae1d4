#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/slides.h"

namespace ostrel::artgen {

namespace {

void softShadow(QPainter& painter, const QRectF& box, qreal radius) {
  // Layers of a dark blue, each a little wider and fainter: a blurred shadow below the box.
  for (int i = 6; i >= 1; --i) {
    fillRounded(painter, box.adjusted(-i, -i + 4, i, i + 4), radius + i, rgb(0x1A4FB8, 10));
  }
}

}  // namespace

QImage slideGround(const QString& headline, const QString& subline) {
  QImage picture = blankPicture(640, 480, rgb(kSlideBlue));
  QPainter painter(&picture);
  smooth(painter);
  // Faint rings and discs in the ground, away from the corners the window's close cross uses.
  painter.setPen(QPen(rgb(0xFFFFFF, 22), 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(36, 300), 70, 70);
  painter.drawEllipse(QPointF(604, 190), 48, 48);
  disc(painter, QPointF(560, 400), 90, rgb(0xFFFFFF, 12));
  disc(painter, QPointF(70, 110), 26, rgb(0xFFFFFF, 14));

  text(painter, QRectF(0, 30, 640, 44), headline, uiFont(30, true), rgb(0xFFFFFF));
  text(painter, QRectF(0, 78, 640, 24), subline, uiFont(15), rgb(0xFFFFFF, 210));
  return picture;
}

QRectF productWindow(QPainter& painter, const QRectF& frame, const QString& title) {
  softShadow(painter, frame, 8);
  fillRounded(painter, frame, 8, rgb(0xFFFFFF));
  // Title bar: logo dot, product name, window buttons.
  const QRectF titleBar(frame.left(), frame.top(), frame.width(), 30);
  painter.save();
  painter.setClipRect(titleBar);
  fillRounded(painter, titleBar.adjusted(0, 0, 0, 10), 8, rgb(0x2F6FE0));
  painter.restore();
  disc(painter, QPointF(titleBar.left() + 16, titleBar.center().y()), 6, rgb(0xFFFFFF));
  disc(painter, QPointF(titleBar.left() + 16, titleBar.center().y()), 3, rgb(0x2F6FE0));
  text(painter, QRectF(titleBar.left() + 28, titleBar.top(), 200, 30), title, uiFont(12),
       rgb(0xFFFFFF), Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 3; ++i) {
    disc(painter, QPointF(titleBar.right() - 16 - i * 16, titleBar.center().y()), 3.5,
         rgb(0xFFFFFF, 150));
  }
  return QRectF(frame.left(), titleBar.bottom(), frame.width(), frame.height() - 30);
}

void menuColumn(QPainter& painter, const QRectF& area, int entries, int selected) {
  painter.save();
  painter.setClipRect(area);
  fillRounded(painter, area.adjusted(0, -10, 0, 0), 8, rgb(kPanel));
  painter.restore();
  for (int i = 0; i < entries; ++i) {
    const QRectF row(area.left() + 8, area.top() + 12 + i * 34, area.width() - 16, 26);
    const bool on = i == selected;
    if (on) fillRounded(painter, row, 5, rgb(0x3B85FF));
    disc(painter, QPointF(row.left() + 13, row.center().y()), 5,
         on ? rgb(0xFFFFFF) : rgb(kInkDark));
    bar(painter, row.left() + 24, row.center().y() - 3,
        row.width() * (on ? 0.55 : 0.45 + 0.05 * (i % 3)), 6, on ? rgb(0xFFFFFF, 220) : rgb(kInk));
  }
}

void floatingCard(QPainter& painter, const QRectF& box) {
  softShadow(painter, box, 8);
  fillRounded(painter, box, 8, rgb(0xFFFFFF));
}

}  // namespace ostrel::artgen
