#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <cmath>
#include <numbers>

#include "tools/artgen/canvas.h"
#include "tools/artgen/start_scene.h"

namespace ostrel::artgen {

void PaintParcel(QPainter& painter, QPointF c, double s, int alpha) {
  const double h = s / 2, q = s / 4;
  const QPointF back(c.x(), c.y() - h), left(c.x() - h, c.y() - q), right(c.x() + h, c.y() - q),
      front(c.x(), c.y()), leftLow(c.x() - h, c.y() + q), rightLow(c.x() + h, c.y() + q),
      bottom(c.x(), c.y() + h);
  painter.save();
  painter.setPen(Qt::NoPen);
  // Silhouette first, so that no background shows between the faces.
  painter.setBrush(Rgb(0xF39A2E, alpha));
  painter.drawPolygon(QPolygonF({back, right, rightLow, bottom, leftLow, left}));
  painter.setBrush(Rgb(0xFFC872, alpha));
  painter.drawPolygon(QPolygonF({back, right, front, left}));
  painter.setBrush(Rgb(0xFFAE45, alpha));
  painter.drawPolygon(QPolygonF({left, front, bottom, leftLow}));
  // Tape across the lid and down the right face.
  const QPointF lidMiddle((back.x() + left.x()) / 2, (back.y() + left.y()) / 2);
  const QPointF edgeMiddle((front.x() + right.x()) / 2, (front.y() + right.y()) / 2);
  const QPointF faceMiddle((bottom.x() + rightLow.x()) / 2, (bottom.y() + rightLow.y()) / 2);
  painter.setPen(QPen(Rgb(0xE5821A, alpha), s / 9, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.drawPolyline(QPolygonF({lidMiddle, edgeMiddle, faceMiddle}));
  painter.restore();
}

void PaintSpeedLines(QPainter& painter, QPointF tail, double length, int alpha) {
  const struct { double dy, share, width; } lines[] = {{-8, 0.7, 3}, {0, 1.0, 3.5}, {8, 0.5, 3}};
  painter.save();
  for (const auto& l : lines) {
    const double x0 = tail.x() - length * l.share;
    QLinearGradient fade(x0, 0, tail.x(), 0);
    fade.setColorAt(0, Rgb(0x8DB6FF, 0));
    fade.setColorAt(1, Rgb(0x8DB6FF, alpha));
    painter.setPen(QPen(QBrush(fade), l.width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(x0, tail.y() + l.dy), QPointF(tail.x(), tail.y() + l.dy));
  }
  painter.restore();
}

void PaintGauge(QPainter& painter, QPointF c, double r, double value) {
  const QRectF dial(c.x() - r, c.y() - r, 2 * r, 2 * r);
  const double start = 210, sweep = 240;  // degrees, counter-clockwise from 3 o'clock
  painter.save();
  Disc(painter, c, r + 10, Rgb(0xF2F7FF));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Rgb(0xDCE8FF), 8, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(dial, int(start * 16), int(-sweep * 16));
  QConicalGradient heat(c, start - sweep);  // 0 at the dial's end, counter-clockwise to its start
  heat.setColorAt(0.0, Rgb(0x2E6BF0));
  heat.setColorAt(sweep / 360, Rgb(0x7FB2FF));
  painter.setPen(QPen(QBrush(heat), 8, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(dial, int(start * 16), int(-sweep * value * 16));
  // Ticks inside the dial.
  painter.setPen(QPen(Rgb(0xB5CCF5), 1.6, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i <= 8; ++i) {
    const double a = (start - sweep * i / 8) * std::numbers::pi / 180;
    const QPointF dir(std::cos(a), -std::sin(a));
    painter.drawLine(c + dir * (r - 12), c + dir * (r - (i % 2 ? 15 : 18)));
  }
  // Needle with a round hub.
  const double a = (start - sweep * value) * std::numbers::pi / 180;
  const QPointF dir(std::cos(a), -std::sin(a)), side(-dir.y(), dir.x());
  painter.setPen(Qt::NoPen);
  painter.setBrush(Rgb(0xFF6A4D));
  painter.drawPolygon(QPolygonF({c + side * 3.2, c + dir * (r - 14), c - side * 3.2}));
  Disc(painter, c, 7, Rgb(0x2E6BF0));
  Disc(painter, c, 3, Rgb(0xFFFFFF));
  painter.restore();
}

void PaintSparkle(QPainter& painter, QPointF c, double s, int alpha) {
  QPainterPath star;
  star.moveTo(c.x(), c.y() - s);
  star.quadTo(c, QPointF(c.x() + s, c.y()));
  star.quadTo(c, QPointF(c.x(), c.y() + s));
  star.quadTo(c, QPointF(c.x() - s, c.y()));
  star.quadTo(c, QPointF(c.x(), c.y() - s));
  painter.fillPath(star, Rgb(0x7FAEFF, alpha));
}

}  // namespace ostrel::artgen
