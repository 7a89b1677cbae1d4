#include "app/WindowSession.h"

#include <algorithm>

#include "app/StartUp.h"

namespace ostrel::app {

WindowPosition FirstPosition(int screenWidth, int screenHeight) {
  return {std::max(0, (screenWidth - kWindowWidth) / 2), std::max(0, (screenHeight - kWindowHeight) / 2)};
}

void SessionHost::ShowAtFirstPosition() {
  const skin::Box screen = VirtualScreen();
  const WindowPosition at = FirstPosition(screen.width, screen.height);
  ShowAt(at.left, at.top);
}

WindowSession::WindowSession(SessionHost& host) : host_(host), form_(host) { host_.Attach(form_); }

void WindowSession::Show() {
  RunHandler([this] { form_.FormShow(); }, [this](const std::string& text) { host_.ShowErrorBox(text); });
  host_.ShowAtFirstPosition();
}

void WindowSession::Run(std::chrono::milliseconds threadsGrace) {
  host_.RunEvents();
  form_.WaitForJobThreads(threadsGrace);
}

}  // namespace ostrel::app
