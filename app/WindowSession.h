// The installer window as a program runs it, whatever the toolkit: the form class on its host,
// shown the way the start-up shows it (an error escaping the show handler goes to the error box,
// then the window appears at its first position), then the window's events until it closes, and
// a short wait for the threads of its download jobs.
#pragma once

#include <chrono>
#include <string>

#include "app/FSpeedInstall.h"
#include "app/FormHost.h"
#include "skin/Geometry.h"

namespace ostrel::app {

// What a session asks of a host beyond the form's needs.
class SessionHost : public FormHost {
 public:
  // Binds the window to its form class: timers, edit box, text metrics, events.
  virtual void Attach(TfrmSpeedInstall& form) = 0;
  // The error box of an escaped error: error icon, captioned with the application's title.
  virtual void ShowErrorBox(const std::string& text) = 0;
  // Puts the window (642 x 482 with its frame) at its first position and shows it.
  virtual void ShowAt(int left, int top) = 0;
  // The virtual screen's size: the rectangle that spans all monitors.
  virtual skin::Box VirtualScreen() = 0;
  // Runs the window's events until it has closed.
  virtual void RunEvents() = 0;
};

// The window's width and height with its 1-pixel frame.
constexpr int kFrame = 1;
constexpr int kWindowWidth = skin::kContentWidth + 2 * kFrame;
constexpr int kWindowHeight = skin::kContentHeight + 2 * kFrame;

// The first position on a virtual screen of that size: centred, rounded toward zero, never
// negative.
struct WindowPosition {
  int left = 0, top = 0;
  bool operator==(const WindowPosition&) const = default;
};
WindowPosition FirstPosition(int screenWidth, int screenHeight);

class WindowSession {
 public:
  explicit WindowSession(SessionHost& host);

  TfrmSpeedInstall& Form() { return form_; }

  // The show handler, then the window at its first position on screen.
  void Show();
  // The window's events until it closes; then waits at most threadsGrace for the jobs' threads.
  void Run(std::chrono::milliseconds threadsGrace);

 private:
  SessionHost& host_;
  TfrmSpeedInstall form_;
};

}  // namespace ostrel::app
