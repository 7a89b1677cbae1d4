#include "app/qt/InstallerApplication.h"

#include <QMessageBox>

#include "app/StartUp.h"
#include "app/qt/NoScaling.h"

namespace ostrel::app::qt {

InstallerApplication::InstallerApplication(int& argc, char** argv) : QApplication(WithoutScaling(argc), argv) {
  RestoreScalingSettings();
  setApplicationName(QString::fromUtf8(kApplicationTitle.data(), static_cast<qsizetype>(kApplicationTitle.size())));
}

bool InstallerApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunHandler([&] { handled = QApplication::notify(receiver, event); },
             [](const std::string& text) { ShowErrorBox(activeWindow(), text); });
  return handled;
}

void ShowErrorBox(QWidget* owner, const std::string& text) {
  QMessageBox box(QMessageBox::Critical,
                  QString::fromUtf8(kApplicationTitle.data(), static_cast<qsizetype>(kApplicationTitle.size())),
                  QString::fromStdString(text), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace ostrel::app::qt
