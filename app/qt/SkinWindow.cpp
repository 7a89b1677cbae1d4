#include "app/qt/SkinWindow.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <exception>

#include "app/qt/CjkFont.h"
#include "skin/ControlNames.h"

namespace ostrel::app::qt {

SkinWindow::SkinWindow() : edit_(new QLineEdit(this)) {
  const auto& window = skin::SpeedInstallWindow();
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setWindowTitle(QString::fromUtf8(window.title.data(), static_cast<qsizetype>(window.title.size())));
  setFixedSize(skin::kContentWidth + 2 * kFrame, skin::kContentHeight + 2 * kFrame);
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
  QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
  move(std::max(0, (screen.width() - width()) / 2), std::max(0, (screen.height() - height()) / 2));
}

void SkinWindow::StartSystemMove() {
  if (QWindow* handle = windowHandle()) handle->startSystemMove();
}

void SkinWindow::Repaint(const skin::Box& area) {
  update(area.left + kFrame, area.top + kFrame, area.width, area.height);
}

void SkinWindow::CloseWindow() { close(); }

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
