// Slide 1: one-click tax declaration. A declaration form with its steps, and a success notice.
#include <QPen>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"
#include "tools/artgen/slides.h"

namespace ostrel::artgen {

namespace {

void Steps(QPainter& painter, qreal left, qreal right, qreal y) {
  const qreal gap = (right - left) / 2;
  for (int i = 0; i < 3; ++i) {
    const QPointF centre(left + i * gap, y);
    if (i < 2) {
      painter.setPen(QPen(i == 0 ? Rgb(0x3B85FF) : Rgb(kRule), 2));
      painter.drawLine(QPointF(centre.x() + 14, y), QPointF(centre.x() + gap - 14, y));
    }
    Disc(painter, centre, 10, i < 2 ? Rgb(0x3B85FF) : Rgb(kRule));
    if (i == 0)
      CheckMark(painter, QRectF(centre.x() - 7, centre.y() - 7, 14, 14), 2, Rgb(0xFFFFFF));
    if (i == 1) Disc(painter, centre, 3.5, Rgb(0xFFFFFF));
    Bar(painter, centre.x() - 18, y + 18, 36, 6, i < 2 ? Rgb(kInkDark) : Rgb(kInk));
  }
}

void FormRows(QPainter& painter, const QRectF& area) {
  const qreal widths[] = {0.62, 0.48, 0.70};
  for (int i = 0; i < 3; ++i) {
    const qreal y = area.top() + i * 36;
    Bar(painter, area.left(), y + 11, 48, 6, Rgb(kInkDark));
    const QRect box(int(area.left() + 62), int(y), int(area.width() - 62), 28);
    OutlinedRounded(painter, box, 4, Rgb(0xFFFFFF), Rgb(kRule));
    Bar(painter, box.left() + 10, y + 11, (box.width() - 70) * widths[i], 6, Rgb(kInk));
    Bar(painter, box.right() - 50, y + 11, 40, 6, i == 2 ? Rgb(0x3B85FF) : Rgb(kInkDark));
  }
}

void SuccessNotice(QPainter& painter, const QRectF& box) {
  FloatingCard(painter, box);
  Disc(painter, QPointF(box.left() + 26, box.top() + 28), 13, Rgb(kGreen));
  CheckMark(painter, QRectF(box.left() + 17, box.top() + 19, 18, 18), 2.4, Rgb(0xFFFFFF));
  Text(painter, QRectF(box.left() + 46, box.top() + 16, 90, 24), QStringLiteral("申报成功"),
       UiFont(14), Rgb(0x333333), Qt::AlignLeft | Qt::AlignVCenter);
  Bar(painter, box.left() + 16, box.top() + 56, box.width() - 32, 6, Rgb(kInk));
  Bar(painter, box.left() + 16, box.top() + 70, (box.width() - 32) * 0.6, 6, Rgb(kInk));
}

}  // namespace

QImage DeclarationSlide() {
  QImage picture = SlideGround(QStringLiteral("一键申报，轻松办税"),
                               QStringLiteral("报表自动生成，申报缴款一步完成"));
  QPainter painter(&picture);
  Smooth(painter);
  const QRectF body =
      ProductWindow(painter, QRectF(88, 128, 420, 258), QStringLiteral("OstrelPro 申报中心"));
  MenuColumn(painter, QRectF(body.left(), body.top(), 96, body.height()), 6, 1);

  const QRectF content = body.adjusted(96 + 22, 18, -22, -16);
  Steps(painter, content.left() + 30, content.right() - 30, content.top() + 12);
  FormRows(painter, QRectF(content.left(), content.top() + 48, content.width(), 104));

  const QRectF send(content.right() - 96, content.bottom() - 28, 96, 28);
  FillRounded(painter, send, 14, Rgb(kButtonBlue));
  Text(painter, send, QStringLiteral("一键申报"), UiFont(12), Rgb(0xFFFFFF));
  Bar(painter, content.left(), send.center().y() - 3, 110, 6, Rgb(kInk));

  SuccessNotice(painter, QRectF(478, 214, 132, 88));
  return picture;
}

}  // namespace ostrel::artgen
