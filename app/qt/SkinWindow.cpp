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
#include "skin/ControlNames.h"

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
  connect(&animation_, &QTimer::timeout, this, [this] { ScheduleAnimation(); });
}

void SkinWindow::Attach(TfrmSpeedInstall& form) {
  form_ = &form;
  skin::Form& model = form.Form();
  model.SetTextMeasure(&canvas_);
  const skin::Control& edit = model.Get(ostrel::skin::ctl::edtAZLJ);
  edit_->setFont(CjkFont(edit.description->fontHeight));
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Text, QColor(QRgb(edit.colour.value)));
  palette.setColor(QPalette::Base, QColor(QRgb(edit.description->fill.value)));
  edit_->setPalette(palette);
  connect(edit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_->Form().SetText(ostrel::skin::ctl::edtAZLJ, text.toStdString()); });
  for (skin::Control& c : model.Controls()) {
    if (c.Kind() != skin::ControlKind::Timer) continue;
    auto* timer = new QTimer(this);
    std::string name(c.Name());
    timers_[name] = timer;
    connect(timer, &QTimer::timeout, this, [this, name] { Guarded([&] { form_->Form().TimerTick(name); }); });
    TimerChanged(c);
  }
  SyncEdit();
  ScheduleAnimation();
}

void SkinWindow::PlaceAtFirstPosition() {
  const skin::Box screen = VirtualScreen();
  const WindowPosition at = FirstPosition(screen.width, screen.height);
  move(at.left, at.top);
}

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

void SkinWindow::ControlChanged(const skin::Control&) {
  SyncEdit();
  ScheduleAnimation();
}

void SkinWindow::TimerChanged(const skin::Control& timer) {
  auto found = timers_.find(std::string(timer.Name()));
  if (found == timers_.end()) return;
  found->second->setInterval(timer.description->interval);
  if (timer.enabled) found->second->start();
  else found->second->stop();
}

void SkinWindow::SyncEdit() {
  if (!form_) return;
  skin::Form& model = form_->Form();
  const skin::Control& edit = model.Get(ostrel::skin::ctl::edtAZLJ);
  const skin::Box box = model.AbsoluteBox(edit);
  edit_->setGeometry(box.left + kFrame, box.top + kFrame, box.width, box.height);
  QString text = QString::fromStdString(edit.text);
  if (edit_->text() != text) edit_->setText(text);
  edit_->setVisible(model.IsShowing(edit));
}

void SkinWindow::ScheduleAnimation() {
  if (!form_) return;
  int64_t due = form_->Form().AdvanceAnimations();
  if (due >= 0) animation_.start(static_cast<int>(std::max<int64_t>(due, 1)));
}

}  // namespace ostrel::app::qt
