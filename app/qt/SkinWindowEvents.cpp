// The window's paint and pointer events, passed to the form in content pixels.
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <optional>

#include "app/qt/SkinWindow.h"

namespace ostrel::app::qt {
namespace {

std::optional<skin::MouseButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return skin::MouseButton::Left;
    case Qt::RightButton: return skin::MouseButton::Right;
    case Qt::MiddleButton: return skin::MouseButton::Middle;
    default: return std::nullopt;
  }
}

// The pixel the pointer is in: positions can be fractional, and rounding would put a pointer in
// a control's last column on its right edge, outside it.
QPoint WindowPoint(const QMouseEvent* event) {
  const QPointF p = event->position();
  return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

}  // namespace

void SkinWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const auto& window = skin::SpeedInstallWindow();
  painter.fillRect(rect(), QColor(QRgb(window.frameColour.value)));
  painter.translate(kFrame, kFrame);
  canvas_.SetPainter(&painter);
  const QRect r = event->rect();
  Binding().Paint(canvas_, {r.x(), r.y(), r.width(), r.height()});
  canvas_.SetPainter(nullptr);
}

void SkinWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = WindowPoint(event);
  Binding().PointerMove(p.x(), p.y());
}

void SkinWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint p = WindowPoint(event);
  if (const auto button = ButtonOf(event->button())) Binding().PointerPress(p.x(), p.y(), *button, false);
}

void SkinWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = WindowPoint(event);
  if (const auto button = ButtonOf(event->button())) Binding().PointerPress(p.x(), p.y(), *button, true);
}

void SkinWindow::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = WindowPoint(event);
  if (const auto button = ButtonOf(event->button())) Binding().PointerRelease(p.x(), p.y(), *button);
}

void SkinWindow::leaveEvent(QEvent*) { Binding().PointerLeave(); }

}  // namespace ostrel::app::qt
