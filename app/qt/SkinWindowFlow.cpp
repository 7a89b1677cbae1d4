// What the flow asks of the window: its boxes, the folder dialog, the pending events, the way
// onto its thread, and the end of the calls into it when it closes.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>

#include "app/qt/SkinWindow.h"
#include "platform/host_path.h"

namespace ostrel::app::qt {

void SkinWindow::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QString::fromUtf8(kMessageCaption.data(), static_cast<qsizetype>(kMessageCaption.size())),
                  QString::fromStdString(text), QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void SkinWindow::ProcessMessages() { QCoreApplication::processEvents(); }

// Like the shell's folder dialog without an owner, the picker blocks nothing: the window stays
// enabled and keeps running its events while this call waits for the answer in an event loop of
// its own. One picker at a time: while one is open, another call brings it to the front and
// answers as cancelled. Closing the window cancels it.
std::optional<std::string> SkinWindow::BrowseForFolder(const std::string& title, const std::string& startFolder) {
  if (picker_) {
    picker_->raise();
    picker_->activateWindow();
    return std::nullopt;
  }
  const QString start = startFolder.empty() ? QString() : QString::fromStdString(platform::HostPath(startFolder));
  QFileDialog picker(nullptr, QString::fromStdString(title), start);
  picker.setFileMode(QFileDialog::Directory);
  picker.setOption(QFileDialog::ShowDirsOnly);
  picker.setWindowModality(Qt::NonModal);
  picker_ = &picker;
  QEventLoop untilClosed;
  connect(&picker, &QDialog::finished, &untilClosed, &QEventLoop::quit);
  picker.show();
  untilClosed.exec();
  picker_ = nullptr;
  const QStringList chosen = picker.result() == QDialog::Accepted ? picker.selectedFiles() : QStringList();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
  return platform::WindowsPath(chosen.front().toStdString());
}

std::shared_ptr<WindowThreadCaller> SkinWindow::CallerOnWindowThread() { return caller_; }

SkinWindow::~SkinWindow() { caller_->Close(); }

void SkinWindow::closeEvent(QCloseEvent* event) {
  // A close asked by the system (Alt+F4, the window manager, the end of the session) takes the
  // close control's way; the window closes when that way closes it (an extraction under way is
  // put back first and closes it later).
  if (!closing_ && Form() && !closed_ && !inSystemClose_) {
    inSystemClose_ = true;
    systemCloseAccepted_ = false;
    Binding().Guarded([this] { Form()->lblCloseClick(nullptr); });
    inSystemClose_ = false;
    if (!systemCloseAccepted_) {
      event->ignore();
      return;
    }
  }
  closed_ = true;
  caller_->Close();
  if (picker_) picker_->reject();
  QWidget::closeEvent(event);
}

}  // namespace ostrel::app::qt
