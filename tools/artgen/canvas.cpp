#include "tools/artgen/canvas.h"

#include <QPainterPath>
#include <QPen>

namespace ostrel::artgen {

QColor Rgb(unsigned hex, int alpha) {
  return QColor(int((hex >> 16) & 0xFF), int((hex >> 8) & 0xFF), int(hex & 0xFF), alpha);
}

QImage BlankPicture(int width, int height, QColor ground) {
  QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
  picture.fill(ground);
  return picture;
}

void Smooth(QPainter& painter) {
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
}

QFont UiFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

void FillRounded(QPainter& painter, const QRectF& box, qreal radius, QColor fill) {
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(box, radius, radius);
  painter.restore();
}

void OutlinedRounded(QPainter& painter, const QRect& box, qreal radius, QColor fill,
                     QColor border) {
  painter.save();
  painter.setPen(QPen(border, 1.0));
  painter.setBrush(fill);
  const QRectF edge = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.drawRoundedRect(edge, radius, radius);
  painter.restore();
}

void Bar(QPainter& painter, qreal x, qreal y, qreal width, qreal height, QColor fill) {
  FillRounded(painter, QRectF(x, y, width, height), height / 2, fill);
}

void Disc(QPainter& painter, QPointF centre, qreal radius, QColor fill) {
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawEllipse(centre, radius, radius);
  painter.restore();
}

void Text(QPainter& painter, const QRectF& box, const QString& words, const QFont& font,
          QColor colour, int alignment) {
  painter.save();
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(box, alignment, words);
  painter.restore();
}

void CheckMark(QPainter& painter, const QRectF& box, qreal strokeWidth, QColor colour) {
  QPainterPath tick;
  tick.moveTo(box.left() + box.width() * 0.18, box.top() + box.height() * 0.52);
  tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.74);
  tick.lineTo(box.left() + box.width() * 0.82, box.top() + box.height() * 0.30);
  painter.save();
  painter.setPen(QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(tick);
  painter.restore();
}

}  // namespace ostrel::artgen
