// The window's paint and pointer events, passed to the form in content pixels.
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <exception>
#include <optional>

#include "app/StartUp.h"
#include "app/qt/InstallerApplication.h"
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
QPoint ContentPoint(const QMouseEvent* event) {
  const QPointF p = event->position();
  return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))) - QPoint(kFrame, kFrame);
}

}  // namespace

// An error that escapes a handler is shown in a box, and the window goes on.
void SkinWindow::Guarded(const std::function<void()>& action) {
  RunHandler(action, [this](const std::string& text) { ShowErrorBox(text); });
}

void SkinWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const auto& window = skin::SpeedInstallWindow();
  painter.fillRect(rect(), QColor(QRgb(window.frameColour.value)));
  if (!form_) return;
  painter.translate(kFrame, kFrame);
  canvas_.SetPainter(&painter);
  const QRect r = event->rect().translated(-kFrame, -kFrame);
  form_->Form().Paint(canvas_, {r.x(), r.y(), r.width(), r.height()});
  canvas_.SetPainter(nullptr);
}

void SkinWindow::FollowPointer() {
  setCursor(form_->Form().HandPointer() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void SkinWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!form_) return;
  const QPoint p = ContentPoint(event);
  Guarded([&] { form_->Form().PointerMove(p.x(), p.y()); });
  FollowPointer();
}

void SkinWindow::mousePressEvent(QMouseEvent* event) {
  auto button = ButtonOf(event->button());
  if (!form_ || !button) return;
  const QPoint p = ContentPoint(event);
  Guarded([&] { form_->Form().PointerPress(p.x(), p.y(), *button); });
}

void SkinWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  auto button = ButtonOf(event->button());
  if (!form_ || !button) return;
  const QPoint p = ContentPoint(event);
  Guarded([&] { form_->Form().PointerPress(p.x(), p.y(), *button, true); });
}

void SkinWindow::mouseReleaseEvent(QMouseEvent* event) {
  auto button = ButtonOf(event->button());
  if (!form_ || !button) return;
  const QPoint p = ContentPoint(event);
  Guarded([&] { form_->Form().PointerRelease(p.x(), p.y(), *button); });
  FollowPointer();
}

void SkinWindow::leaveEvent(QEvent*) {
  if (!form_) return;
  Guarded([&] { form_->Form().PointerLeave(); });
  FollowPointer();
}

}  // namespace ostrel::app::qt
