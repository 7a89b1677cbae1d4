#include "tools/artgen/start_scene.h"

#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/artgen/canvas.h"

namespace ostrel::artgen {

namespace {

constexpr double kTau = 2 * std::numbers::pi;
const QRectF kMonitor(228, 160, 184, 122);

double SmoothStep(double x) {
  x = std::clamp(x, 0.0, 1.0);
  return x * x * (3 - 2 * x);
}

// Three parcels, a third of a cycle apart, speeding up as they fly into the computer's left side.
void PaintParcels(QPainter& painter, double phase) {
  for (int i = 0; i < 3; ++i) {
    const double p = std::fmod(phase + i / 3.0, 1.0);
    const double travel = p * p * 0.55 + p * 0.45;  // accelerating
    const QPointF at(100 + travel * 170, 200 + 26 * std::sin(travel * std::numbers::pi * 0.9));
    const int alpha = int(255 * SmoothStep(p / 0.18));
    PaintSpeedLines(painter, QPointF(at.x() - 16, at.y()), 20 + 36 * travel, alpha * 3 / 4);
    PaintParcel(painter, at, 36 - 10 * travel, alpha);
  }
}

void PaintComputer(QPainter& painter) {
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(Rgb(0xEDF3FF));
  painter.drawEllipse(QPointF(320, 334), 150, 11);
  painter.setBrush(Rgb(0xA9C6FF));
  painter.drawPolygon(
      QPolygonF({QPointF(306, 281), QPointF(334, 281), QPointF(341, 320), QPointF(299, 320)}));
  painter.restore();
  FillRounded(painter, QRectF(266, 317, 108, 11), 5.5, Rgb(0x8DB4FF));
  FillRounded(painter, kMonitor, 10, Rgb(0x3B85FF));
  FillRounded(painter, kMonitor.adjusted(7, 7, -7, -7), 4, Rgb(0xF5F9FF));
  for (int i = 0; i < 3; ++i)
    Disc(painter, QPointF(kMonitor.left() + 17 + i * 9, kMonitor.top() + 16), 2.5, Rgb(0xC4D8FF));
}

// The screen: a download arrow over a filling bar; at the end a green check.
void PaintScreen(QPainter& painter, double phase) {
  const double fill = SmoothStep(phase / 0.82);
  const QPointF centre(320, 212);
  const QRectF trough(266, 250, 108, 8);
  FillRounded(painter, trough, 4, Rgb(0xDCE8FF));
  if (fill > 0.02)
    FillRounded(painter, QRectF(trough.left(), trough.top(), trough.width() * fill, 8), 4,
                Rgb(0x3B85FF));

  if (phase < 0.84) {
    const double bob = 3 * std::sin(phase * kTau * 3);
    Disc(painter, centre, 24, Rgb(0x3B85FF));
    painter.save();
    painter.setPen(QPen(Rgb(0xFFFFFF), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(320, 200 + bob), QPointF(320, 222 + bob));
    painter.drawPolyline(
        QPolygonF({QPointF(311, 214 + bob), QPointF(320, 223 + bob), QPointF(329, 214 + bob)}));
    painter.restore();
  } else {
    const double pop = SmoothStep((phase - 0.84) / 0.08);
    Disc(painter, centre, 18 + 6 * pop, Rgb(kGreen));
    CheckMark(painter, QRectF(centre.x() - 13, centre.y() - 13, 26, 26), 4, Rgb(0xFFFFFF));
  }
}

}  // namespace

void PaintStartScene(QPainter& painter, double phase) {
  painter.save();
  Smooth(painter);
  painter.setClipRect(kSceneRegion);
  const struct {
    double x, y, size, offset;
  } sparkles[] = {{118, 168, 6, 0.0},
                  {196, 300, 5, 0.4},
                  {452, 176, 7, 0.7},
                  {574, 322, 6, 0.2},
                  {560, 178, 4, 0.55}};
  for (const auto& s : sparkles) {
    const double glow = 0.5 + 0.5 * std::sin((phase * 2 + s.offset) * kTau);
    PaintSparkle(painter, QPointF(s.x, s.y), s.size * (0.6 + 0.4 * glow), int(90 + 150 * glow));
  }
  PaintParcels(painter, phase);
  PaintComputer(painter);
  PaintScreen(painter, phase);
  PaintGauge(painter, QPointF(500, 258), 46, 0.86 + 0.07 * std::sin(phase * kTau * 4));
  painter.restore();
}

}  // namespace ostrel::artgen
