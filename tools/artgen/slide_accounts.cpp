// Slide 3: several companies under one login. A company overview with charts, and the list of
// companies to switch to.
#include <QLinearGradient>
#include <QPainterPath>
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"
#include "tools/artgen/slides.h"

namespace ostrel::artgen {

namespace {

void Avatar(QPainter& painter, QPointF centre, qreal radius, unsigned colour,
            const QString& letter) {
  Disc(painter, centre, radius, Rgb(colour));
  Text(painter, QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), letter,
       UiFont(int(radius * 1.05)), Rgb(0xFFFFFF));
}

void Donut(QPainter& painter, QPointF centre, qreal radius) {
  const struct {
    int span;
    unsigned colour;
  } parts[] = {{150, 0x3B85FF}, {95, kGreen}, {70, kOrange}, {45, 0x8C6CF2}};
  int start = 90;
  const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  for (const auto& part : parts) {
    painter.setPen(QPen(Rgb(part.colour), 12, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(ring, start * 16, -part.span * 16);
    start -= part.span;
  }
  Bar(painter, centre.x() - 16, centre.y() - 8, 32, 8, Rgb(0x4A5670));
  Bar(painter, centre.x() - 12, centre.y() + 5, 24, 5, Rgb(kInk));
}

void Trend(QPainter& painter, const QRectF& area) {
  painter.setPen(QPen(Rgb(kRule), 1));
  for (int i = 0; i < 4; ++i) {
    const qreal y = area.top() + i * area.height() / 3;
    painter.drawLine(QPointF(area.left(), y + 0.5), QPointF(area.right(), y + 0.5));
  }
  const qreal values[] = {0.30, 0.45, 0.38, 0.62, 0.55, 0.78, 0.70, 0.90};
  QPainterPath line;
  for (int i = 0; i < 8; ++i) {
    const QPointF at(area.left() + i * area.width() / 7, area.bottom() - values[i] * area.height());
    i == 0 ? line.moveTo(at) : line.lineTo(at);
  }
  QPainterPath fill = line;
  fill.lineTo(area.bottomRight());
  fill.lineTo(area.bottomLeft());
  QLinearGradient shade(0, area.top(), 0, area.bottom());
  shade.setColorAt(0, Rgb(0x3B85FF, 70));
  shade.setColorAt(1, Rgb(0x3B85FF, 0));
  painter.fillPath(fill, shade);
  painter.setPen(QPen(Rgb(0x3B85FF), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(line);
}

void CompanyList(QPainter& painter, const QRectF& box) {
  FloatingCard(painter, box);
  Bar(painter, box.left() + 16, box.top() + 16, 64, 7, Rgb(kInkDark));
  const struct {
    unsigned colour;
    const char16_t* letter;
  } companies[] = {{0x3B85FF, u"华"}, {kOrange, u"宏"}, {kGreen, u"众"}, {0x8C6CF2, u"安"}};
  for (int i = 0; i < 4; ++i) {
    const QRectF row(box.left() + 8, box.top() + 34 + i * 38, box.width() - 16, 34);
    if (i == 1) FillRounded(painter, row, 6, Rgb(kPale));
    Avatar(painter, QPointF(row.left() + 20, row.center().y()), 12, companies[i].colour,
           QString::fromUtf16(companies[i].letter));
    Bar(painter, row.left() + 40, row.top() + 9, 70 + (i % 2) * 14, 6, Rgb(kInkDark));
    Bar(painter, row.left() + 40, row.top() + 20, 48, 5, Rgb(kInk));
    if (i == 1)
      CheckMark(painter, QRectF(row.right() - 24, row.center().y() - 8, 16, 16), 2.2,
                Rgb(0x3B85FF));
  }
}

}  // namespace

QImage AccountsSlide() {
  QImage picture = SlideGround(QStringLiteral("多户管理，随时切换"),
                               QStringLiteral("多家企业一个入口，切换账户无需重新登录"));
  QPainter painter(&picture);
  Smooth(painter);
  const QRectF body =
      ProductWindow(painter, QRectF(56, 132, 400, 252), QStringLiteral("OstrelPro 企业中心"));
  const QRectF content = body.adjusted(20, 16, -20, -16);
  Avatar(painter, QPointF(content.left() + 20, content.top() + 20), 20, kOrange,
         QStringLiteral("宏"));
  Bar(painter, content.left() + 52, content.top() + 8, 120, 9, Rgb(0x4A5670));
  Bar(painter, content.left() + 52, content.top() + 26, 84, 6, Rgb(kInk));
  Donut(painter, QPointF(content.left() + 54, content.top() + 122), 42);
  Trend(painter, QRectF(content.left() + 128, content.top() + 70, content.width() - 168, 100));

  CompanyList(painter, QRectF(424, 170, 172, 192));
  return picture;
}

}  // namespace ostrel::artgen
