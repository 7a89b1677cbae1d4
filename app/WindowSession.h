// The installer window as a program runs it, whatever the toolkit: the form class on its host,
// shown the way the start-up shows it (an error escaping the show handler goes to the error box,
// then the window appears at its first position), then the window's events until it closes, and
// a short wait for the threads of its download jobs.
#pragma once

#include <chrono>
#include <string>

#include "app/FSpeedInstall.h"
#include "app/FormHost.h"
#include "app/HostBinding.h"
#include "skin/Geometry.h"

namespace ostrel::app {

// What a session asks of a host beyond the form's needs: the native parts that the binding
// drives, and the window's place and events.
class SessionHost : public FormHost, public NativeParts {
 public:
  SessionHost() : binding_(*this) {}

  // Binds the window to its form class: timers, edit box, text metrics, events.
  void Attach(TfrmSpeedInstall& form) { binding_.Attach(form); }
  void ControlChanged(const skin::Control&) final { binding_.ControlChanged(); }
  void TimerChanged(const skin::Control& timer) final { binding_.TimerChanged(timer); }

  // Puts the window (642 x 482 with its frame) at left, top and shows it.
  virtual void ShowAt(int left, int top) = 0;
  // Shows the window at its first position on the virtual screen.
  void ShowAtFirstPosition();
  // The virtual screen's size: the rectangle that spans all monitors.
  virtual skin::Box VirtualScreen() = 0;
  // Runs the window's events until it has closed.
  virtual void RunEvents() = 0;

 protected:
  HostBinding& Binding() { return binding_; }
  TfrmSpeedInstall* Form() const { return binding_.Form(); }

 private:
  HostBinding binding_;
};

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
