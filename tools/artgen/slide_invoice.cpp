// Slide 2: invoice management. Tabs, three figures and a table of invoices with their state.
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"
#include "tools/artgen/slides.h"

namespace ostrel::artgen {

namespace {

void Tabs(QPainter& painter, const QRectF& strip) {
  const qreal widths[] = {44, 52, 40, 48};
  qreal x = strip.left();
  for (int i = 0; i < 4; ++i) {
    Bar(painter, x, strip.top() + 8, widths[i], 7, i == 0 ? Rgb(0x3B85FF) : Rgb(kInkDark));
    if (i == 0)
      FillRounded(painter, QRectF(x, strip.bottom() - 3, widths[i], 3), 1.5, Rgb(0x3B85FF));
    x += widths[i] + 26;
  }
  painter.setPen(QPen(Rgb(kRule), 1));
  painter.drawLine(QPointF(strip.left(), strip.bottom() + 0.5),
                   QPointF(strip.right(), strip.bottom() + 0.5));
}

void Figures(QPainter& painter, const QRectF& row) {
  const unsigned accents[] = {0x3B85FF, kGreen, kOrange};
  const qreal amounts[] = {0.78, 0.56, 0.66};
  const qreal w = (row.width() - 2 * 12) / 3;
  for (int i = 0; i < 3; ++i) {
    const QRect card(int(row.left() + i * (w + 12)), int(row.top()), int(w), int(row.height()));
    OutlinedRounded(painter, card, 6, Rgb(0xFFFFFF), Rgb(kRule));
    FillRounded(painter, QRectF(card.left() + 12, card.top() + 12, 26, 26), 6, Rgb(accents[i], 40));
    FillRounded(painter, QRectF(card.left() + 19, card.top() + 19, 12, 12), 3, Rgb(accents[i]));
    Bar(painter, card.left() + 48, card.top() + 13, (card.width() - 60) * amounts[i], 10,
        Rgb(0x4A5670));
    Bar(painter, card.left() + 48, card.top() + 30, 46, 6, Rgb(kInk));
  }
}

void InvoiceTable(QPainter& painter, const QRectF& area) {
  const qreal rowHeight = 22;
  FillRounded(painter, QRectF(area.left(), area.top(), area.width(), rowHeight), 4, Rgb(kPanel));
  const qreal columns[] = {34, 140, 290, 380};  // number, buyer, amount, state
  for (qreal c : columns) Bar(painter, area.left() + c, area.top() + 8, 40, 6, Rgb(kInkDark));
  const qreal buyer[] = {0.9, 0.7, 1.0, 0.8};
  for (int i = 0; i < 4; ++i) {
    const qreal y = area.top() + rowHeight * (i + 1);
    const bool checked = i != 2;
    const QRect box(int(area.left() + 10), int(y + 5), 12, 12);
    if (checked) {
      FillRounded(painter, box, 3, Rgb(0x3B85FF));
      CheckMark(painter, QRectF(box).adjusted(1, 1, -1, -1), 1.6, Rgb(0xFFFFFF));
    } else {
      OutlinedRounded(painter, box, 3, Rgb(0xFFFFFF), Rgb(kInkDark));
    }
    Bar(painter, area.left() + columns[0], y + 8, 84, 6, Rgb(kInk));
    Bar(painter, area.left() + columns[1], y + 8, 120 * buyer[i], 6, Rgb(kInk));
    Bar(painter, area.left() + columns[2], y + 8, 56 - i * 6, 6, Rgb(kInkDark));
    const unsigned state = checked ? kGreen : kOrange;
    FillRounded(painter, QRectF(area.left() + columns[3], y + 3, 46, 16), 8, Rgb(state, 36));
    Bar(painter, area.left() + columns[3] + 9, y + 8, 28, 6, Rgb(state));
    painter.setPen(QPen(Rgb(kRule), 1));
    painter.drawLine(QPointF(area.left(), y + rowHeight - 0.5),
                     QPointF(area.right(), y + rowHeight - 0.5));
  }
}

}  // namespace

QImage InvoiceSlide() {
  QImage picture = SlideGround(QStringLiteral("发票管理，清晰高效"),
                               QStringLiteral("进项销项一目了然，勾选认证省时省力"));
  QPainter painter(&picture);
  Smooth(painter);
  const QRectF body =
      ProductWindow(painter, QRectF(80, 126, 480, 262), QStringLiteral("OstrelPro 发票管理"));
  const QRectF content = body.adjusted(20, 8, -20, -14);
  Tabs(painter, QRectF(content.left(), content.top(), content.width(), 24));
  Figures(painter, QRectF(content.left(), content.top() + 38, content.width(), 50));
  InvoiceTable(painter, QRectF(content.left(), content.top() + 100, content.width(), 120));
  return picture;
}

}  // namespace ostrel::artgen
