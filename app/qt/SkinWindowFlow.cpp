// What the flow asks of the window: its boxes, the folder dialog, the pending events, the way
// onto its thread, and the end of the calls into it when it closes.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/qt/SkinWindow.h"
#include "platform/host_path.h"

namespace ostrel::app::qt {

void SkinWindow::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QString::fromStdString(text), QMessageBox::Ok,
                  this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void SkinWindow::ProcessMessages() { QCoreApplication::processEvents(); }

std::optional<std::string> SkinWindow::BrowseForFolder(const std::string& title, const std::string& startFolder) {
  const QString start = startFolder.empty() ? QString() : QString::fromStdString(platform::HostPath(startFolder));
  const QString chosen =
      QFileDialog::getExistingDirectory(this, QString::fromStdString(title), start, QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return std::nullopt;
  return platform::WindowsPath(chosen.toStdString());
}

std::shared_ptr<WindowThreadCaller> SkinWindow::CallerOnWindowThread() { return caller_; }

SkinWindow::~SkinWindow() { caller_->Close(); }

void SkinWindow::closeEvent(QCloseEvent* event) {
  closed_ = true;
  caller_->Close();
  QWidget::closeEvent(event);
}

}  // namespace ostrel::app::qt
