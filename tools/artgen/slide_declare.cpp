// Slide 1: one-click tax declaration. A declaration form with its steps, and a success notice.
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"
#include "tools/artgen/slides.h"

namespace ostrel::artgen {

namespace {

void steps(QPainter& painter, qreal left, qreal right, qreal y) {
  const qreal gap = (right - left) / 2;
  for (int i = 0; i < 3; ++i) {
    const QPointF centre(left + i * gap, y);
    if (i < 2) {
      painter.setPen(QPen(i == 0 ? rgb(0x3B85FF) : rgb(kRule), 2));
      painter.drawLine(QPointF(centre.x() + 14, y), QPointF(centre.x() + gap - 14, y));
    }
    disc(painter, centre, 10, i < 2 ? rgb(0x3B85FF) : rgb(kRule));
    if (i == 0)
      checkMark(painter, QRectF(centre.x() - 7, centre.y() - 7, 14, 14), 2, rgb(0xFFFFFF));
    if (i == 1) disc(painter, centre, 3.5, rgb(0xFFFFFF));
    bar(painter, centre.x() - 18, y + 18, 36, 6, i < 2 ? rgb(kInkDark) : rgb(kInk));
  }
}

void formRows(QPainter& painter, const QRectF& area) {
  const qreal widths[] = {0.62, 0.48, 0.70};
  for (int i = 0; i < 3; ++i) {
    const qreal y = area.top() + i * 36;
    bar(painter, area.left(), y + 11, 48, 6, rgb(kInkDark));
    const QRect box(int(area.left() + 62), int(y), int(area.width() - 62), 28);
    outlinedRounded(painter, box, 4, rgb(0xFFFFFF), rgb(kRule));
    bar(painter, box.left() + 10, y + 11, (box.width() - 70) * widths[i], 6, rgb(kInk));
    bar(painter, box.right() - 50, y + 11, 40, 6, i == 2 ? rgb(0x3B85FF) : rgb(kInkDark));
  }
}

void successNotice(QPainter& painter, const QRectF& box) {
  floatingCard(painter, box);
  disc(painter, QPointF(box.left() + 26, box.top() + 28), 13, rgb(kGreen));
  checkMark(painter, QRectF(box.left() + 17, box.top() + 19, 18, 18), 2.4, rgb(0xFFFFFF));
  text(painter, QRectF(box.left() + 46, box.top() + 16, 90, 24), QStringLiteral("申报成功"),
       uiFont(14), rgb(0x333333), Qt::AlignLeft | Qt::AlignVCenter);
  bar(painter, box.left() + 16, box.top() + 56, box.width() - 32, 6, rgb(kInk));
  bar(painter, box.left() + 16, box.top() + 70, (box.width() - 32) * 0.6, 6, rgb(kInk));
}

}  // namespace

QImage declarationSlide() {
  QImage picture = slideGround(QStringLiteral("一键申报，轻松办税"),
                               QStringLiteral("报表自动生成，申报缴款一步完成"));
  QPainter painter(&picture);
  smooth(painter);
  const QRectF body =
      productWindow(painter, QRectF(88, 128, 420, 258), QStringLiteral("OstrelPro 申报中心"));
  menuColumn(painter, QRectF(body.left(), body.top(), 96, body.height()), 6, 1);

  const QRectF content = body.adjusted(96 + 22, 18, -22, -16);
  steps(painter, content.left() + 30, content.right() - 30, content.top() + 12);
  formRows(painter, QRectF(content.left(), content.top() + 48, content.width(), 104));

  const QRectF send(content.right() - 96, content.bottom() - 28, 96, 28);
  fillRounded(painter, send, 14, rgb(kButtonBlue));
  text(painter, send, QStringLiteral("一键申报"), uiFont(12), rgb(0xFFFFFF));
  bar(painter, content.left(), send.center().y() - 3, 110, 6, rgb(kInk));

  successNotice(painter, QRectF(478, 214, 132, 88));
  return picture;
}

}  // namespace ostrel::artgen
