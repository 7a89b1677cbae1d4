// InstKeloPro: the speed installer. Shows the installer window and runs until it closes.
#include <QApplication>
#include <QMessageBox>

#include <exception>

#include "app/FSpeedInstall.h"
#include "app/qt/SkinWindow.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  ostrel::app::qt::SkinWindow window;
  TfrmSpeedInstall frmSpeedInstall(window);
  window.Attach(frmSpeedInstall);
  try {
    frmSpeedInstall.FormShow();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, window.windowTitle(), QString::fromUtf8(e.what()));
  }
  window.PlaceAtFirstPosition();
  window.show();
  return application.exec();
}
