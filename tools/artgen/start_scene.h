// The start page's illustration of a fast install: packages fly into a computer whose screen
// shows a download filling up, beside a speedometer at full speed.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QRect>

namespace ostrel::artgen {

// Where the illustration lies on the 640 x 480 page; nothing is drawn outside.
inline const QRect kSceneRegion(69, 139, 532, 224);

// Paints the illustration at `phase` (0 up to 1, one cycle of the animation).
void PaintStartScene(QPainter& painter, double phase);

// Props of the illustration (start_props.cpp).
void PaintParcel(QPainter& painter, QPointF centre, double size, int alpha);
void PaintSpeedLines(QPainter& painter, QPointF tail, double length, int alpha);
void PaintGauge(QPainter& painter, QPointF centre, double radius, double value);
void PaintSparkle(QPainter& painter, QPointF centre, double size, int alpha);

}  // namespace ostrel::artgen
