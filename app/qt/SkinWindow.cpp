#include "app/qt/SkinWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <exception>

#include "app/qt/CjkFont.h"
#include "app/qt/InstallerApplication.h"

namespace ostrel::app::qt {

SkinWindow::SkinWindow() : edit_(new QLineEdit(this)) {
  // Queued, not a blocking queued call: a caller must be able to give up when the window closes
  // while its call is still waiting. A wake that finds the window gone is dropped with it.
  caller_ = std::make_shared<QueuedWindowCaller>(
      [this] { QMetaObject::invokeMethod(this, [this] { caller_->RunQueued(); }, Qt::QueuedConnection); });
  const auto& window = skin::SpeedInstallWindow();
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setWindowTitle(QString::fromUtf8(window.title.data(), static_cast<qsizetype>(window.title.size())));
  setFixedSize(kWindowWidth, kWindowHeight);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  edit_->setFrame(false);
  edit_->hide();
  animation_.setSingleShot(true);
  connect(&animation_, &QTimer::timeout, this, [this] { Binding().AnimationDue(); });
  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) { Binding().EditBoxEdited(text.toStdString()); });
}

void SkinWindow::StyleEditBox(const EditBoxLook& look) {
  edit_->setFont(CjkFont(look.fontHeight));
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Text, QColor(QRgb(look.text.value)));
  palette.setColor(QPalette::Base, QColor(QRgb(look.fill.value)));
  edit_->setPalette(palette);
}

void SkinWindow::UpdateEditBox(const skin::Box& box, const std::string& text, bool visible) {
  edit_->setGeometry(box.left, box.top, box.width, box.height);
  const QString shown = QString::fromStdString(text);
  if (edit_->text() != shown) edit_->setText(shown);
  edit_->setVisible(visible);
}

void SkinWindow::RunTimer(int id, int interval, bool enabled) {
  QTimer*& timer = timers_[id];
  if (!timer) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] { Binding().TimerFired(id); });
  }
  timer->setInterval(interval);
  if (enabled) timer->start();
  else timer->stop();
}

void SkinWindow::ScheduleAnimation(int64_t delay) { animation_.start(static_cast<int>(std::max<int64_t>(delay, 1))); }

void SkinWindow::ShowPointer(bool hand) { setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor); }

void SkinWindow::ShowAt(int left, int top) {
  move(left, top);
  show();
}

skin::Box SkinWindow::VirtualScreen() {
  const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
  return {screen.x(), screen.y(), screen.width(), screen.height()};
}

void SkinWindow::RunEvents() { QApplication::exec(); }

void SkinWindow::ShowErrorBox(const std::string& text) { qt::ShowErrorBox(this, text); }

void SkinWindow::StartSystemMove() {
  if (QWindow* handle = windowHandle()) handle->startSystemMove();
}

void SkinWindow::Repaint(const skin::Box& area) {
  update(area.left + kFrame, area.top + kFrame, area.width, area.height);
}

void SkinWindow::CloseWindow() {
  if (inSystemClose_) {  // closeEvent goes on and accepts the close
    systemCloseAccepted_ = true;
    return;
  }
  closing_ = true;
  close();
}

}  // namespace ostrel::app::qt
