// Slide 2: invoice management. Tabs, three figures and a table of invoices with their state.
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"
#include "tools/artgen/slides.h"

namespace ostrel::artgen {

namespace {

void tabs(QPainter& painter, const QRectF& strip) {
  const qreal widths[] = {44, 52, 40, 48};
  qreal x = strip.left();
  for (int i = 0; i < 4; ++i) {
    bar(painter, x, strip.top() + 8, widths[i], 7, i == 0 ? rgb(0x3B85FF) : rgb(kInkDark));
    if (i == 0)
      fillRounded(painter, QRectF(x, strip.bottom() - 3, widths[i], 3), 1.5, rgb(0x3B85FF));
    x += widths[i] + 26;
  }
  painter.setPen(QPen(rgb(kRule), 1));
  painter.drawLine(QPointF(strip.left(), strip.bottom() + 0.5),
                   QPointF(strip.right(), strip.bottom() + 0.5));
}

void figures(QPainter& painter, const QRectF& row) {
  const unsigned accents[] = {0x3B85FF, kGreen, kOrange};
  const qreal amounts[] = {0.78, 0.56, 0.66};
  const qreal w = (row.width() - 2 * 12) / 3;
  for (int i = 0; i < 3; ++i) {
    const QRect card(int(row.left() + i * (w + 12)), int(row.top()), int(w), int(row.height()));
    outlinedRounded(painter, card, 6, rgb(0xFFFFFF), rgb(kRule));
    fillRounded(painter, QRectF(card.left() + 12, card.top() + 12, 26, 26), 6, rgb(accents[i], 40));
    fillRounded(painter, QRectF(card.left() + 19, card.top() + 19, 12, 12), 3, rgb(accents[i]));
    bar(painter, card.left() + 48, card.top() + 13, (card.width() - 60) * amounts[i], 10,
        rgb(0x4A5670));
    bar(painter, card.left() + 48, card.top() + 30, 46, 6, rgb(kInk));
  }
}

void invoiceTable(QPainter& painter, const QRectF& area) {
  const qreal rowHeight = 22;
  fillRounded(painter, QRectF(area.left(), area.top(), area.width(), rowHeight), 4, rgb(kPanel));
  const qreal columns[] = {34, 140, 290, 380};  // number, buyer, amount, state
  for (qreal c : columns) bar(painter, area.left() + c, area.top() + 8, 40, 6, rgb(kInkDark));
  const qreal buyer[] = {0.9, 0.7, 1.0, 0.8};
  for (int i = 0; i < 4; ++i) {
    const qreal y = area.top() + rowHeight * (i + 1);
    const bool checked = i != 2;
    const QRect box(int(area.left() + 10), int(y + 5), 12, 12);
    if (checked) {
      fillRounded(painter, box, 3, rgb(0x3B85FF));
      checkMark(painter, QRectF(box).adjusted(1, 1, -1, -1), 1.6, rgb(0xFFFFFF));
    } else {
      outlinedRounded(painter, box, 3, rgb(0xFFFFFF), rgb(kInkDark));
    }
    bar(painter, area.left() + columns[0], y + 8, 84, 6, rgb(kInk));
    bar(painter, area.left() + columns[1], y + 8, 120 * buyer[i], 6, rgb(kInk));
    bar(painter, area.left() + columns[2], y + 8, 56 - i * 6, 6, rgb(kInkDark));
    const unsigned state = checked ? kGreen : kOrange;
    fillRounded(painter, QRectF(area.left() + columns[3], y + 3, 46, 16), 8, rgb(state, 36));
    bar(painter, area.left() + columns[3] + 9, y + 8, 28, 6, rgb(state));
    painter.setPen(QPen(rgb(kRule), 1));
    painter.drawLine(QPointF(area.left(), y + rowHeight - 0.5),
                     QPointF(area.right(), y + rowHeight - 0.5));
  }
}

}  // namespace

QImage invoiceSlide() {
  QImage picture = slideGround(QStringLiteral("发票管理，清晰高效"),
                               QStringLiteral("进项销项一目了然，勾选认证省时省力"));
  QPainter painter(&picture);
  smooth(painter);
  const QRectF body =
      productWindow(painter, QRectF(80, 126, 480, 262), QStringLiteral("OstrelPro 发票管理"));
  const QRectF content = body.adjusted(20, 8, -20, -14);
  tabs(painter, QRectF(content.left(), content.top(), content.width(), 24));
  figures(painter, QRectF(content.left(), content.top() + 38, content.width(), 50));
  invoiceTable(painter, QRectF(content.left(), content.top() + 100, content.width(), 120));
  return picture;
}

}  // namespace ostrel::artgen
