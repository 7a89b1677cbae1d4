// The installer window as a program runs it: the application, the window and its form class,
// shown the way the start-up shows it (an error escaping the show handler goes to the error box),
// then its events until it closes, and a short wait for the threads of its download jobs.
#pragma once

#include <chrono>

#include "app/FSpeedInstall.h"
#include "app/qt/InstallerApplication.h"
#include "app/qt/SkinWindow.h"

namespace ostrel::app::qt {

class InstallerSession {
 public:
  InstallerSession(int& argc, char** argv);

  SkinWindow& Window() { return window_; }
  TfrmSpeedInstall& Form() { return form_; }

  // The show handler, then the window at its first position on screen.
  void Show();
  // The window's events until it closes; then waits at most threadsGrace for the jobs' threads.
  void Run(std::chrono::milliseconds threadsGrace);

 private:
  InstallerApplication application_;
  SkinWindow window_;
  TfrmSpeedInstall form_;
};

}  // namespace ostrel::app::qt
