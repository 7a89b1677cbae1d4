// The installer's Qt application: titled "Ostrel", not scaled for the screen (NoScaling.h); an
// error that escapes an event's handler is shown in the error box and the event loop goes on.
#pragma once

#include <QApplication>

#include <string>

class QWidget;

namespace ostrel::app::qt {

class InstallerApplication : public QApplication {
 public:
  InstallerApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// The error box: error icon, caption the application's title, the text as plain text.
void ShowErrorBox(QWidget* owner, const std::string& text);

}  // namespace ostrel::app::qt
