// The installer window as a program runs it on Qt: the application, the window, and the session
// that shows it and runs its events (app/WindowSession.h).
#pragma once

#include <chrono>

#include "app/FSpeedInstall.h"
#include "app/WindowSession.h"
#include "app/qt/InstallerApplication.h"
#include "app/qt/SkinWindow.h"

namespace ostrel::app::qt {

class InstallerSession {
 public:
  InstallerSession(int& argc, char** argv) : application_(argc, argv), session_(window_) {}

  SkinWindow& Window() { return window_; }
  TfrmSpeedInstall& Form() { return session_.Form(); }

  void Show() { session_.Show(); }
  void Run(std::chrono::milliseconds threadsGrace) { session_.Run(threadsGrace); }

 private:
  InstallerApplication application_;
  SkinWindow window_;
  WindowSession session_;
};

}  // namespace ostrel::app::qt
