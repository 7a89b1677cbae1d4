#include "app/qt/QtCanvas.h"

#include <QFontMetrics>
#include <QImage>

#include "app/qt/CjkFont.h"

namespace ostrel::app::qt {
namespace {

QRect ToRect(const skin::Box& b) { return {b.left, b.top, b.width, b.height}; }
QColor ToColour(skin::Rgb c) { return QColor(c.Red(), c.Green(), c.Blue()); }
QString ToText(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

int AlignmentOf(skin::TextPlacement placement) {
  switch (placement) {
    case skin::TextPlacement::Centred: return Qt::AlignCenter;
    case skin::TextPlacement::CentredAcross: return Qt::AlignHCenter | Qt::AlignTop;
    case skin::TextPlacement::Left: return Qt::AlignLeft | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignTop;
  }
}

}  // namespace

skin::TextSize QtCanvas::MeasureText(std::string_view text, int fontHeight) {
  QFontMetrics metrics(CjkFont(fontHeight));
  return {metrics.horizontalAdvance(ToText(text)), metrics.height()};
}

void QtCanvas::DrawImage(const skin::RgbaImage& image, int left, int top, const skin::Box& clip) {
  if (!painter_ || image.pixels.empty()) return;
  const QImage view(image.pixels.data(), image.width, image.height, image.width * 4, QImage::Format_RGBA8888);
  painter_->save();
  painter_->setClipRect(ToRect(clip));
  painter_->drawImage(QPoint(left, top), view);
  painter_->restore();
}

void QtCanvas::FillRect(const skin::Box& box, skin::Rgb colour, const skin::Box& clip) {
  if (painter_) painter_->fillRect(ToRect(box.Intersect(clip)), ToColour(colour));
}

void QtCanvas::PaintText(std::string_view text, const skin::Box& box, const skin::TextStyle& style,
                        const skin::Box& clip) {
  if (!painter_) return;
  painter_->save();
  painter_->setClipRect(ToRect(clip));
  painter_->setFont(CjkFont(style.fontHeight));
  painter_->setPen(ToColour(style.colour));
  painter_->drawText(ToRect(box), AlignmentOf(style.placement) | Qt::TextSingleLine, ToText(text));
  painter_->restore();
}

}  // namespace ostrel::app::qt
