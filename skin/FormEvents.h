// How the form reaches the outside: the handlers that its events run, and the host that
// shows it.
#pragma once

#include <string_view>

#include "skin/Geometry.h"

namespace ostrel::skin {

class Control;

enum class MouseButton { Left, Right, Middle };

struct MouseEvent {
  MouseButton button = MouseButton::Left;
  int x = 0, y = 0;  // relative to the control
};

// Runs the handler that the form description names for an event. `mouse` is null for
// click, enter, leave and timer events.
class EventTarget {
 public:
  virtual ~EventTarget() = default;
  virtual void Handle(std::string_view handler, Control& sender, const MouseEvent* mouse) = 0;
};

// Told whenever the look changes, so a host can repaint and follow with its own controls.
class FormObserver {
 public:
  virtual ~FormObserver() = default;
  // Part of the content (in content pixels) must be painted again.
  virtual void Invalidate(const Box& area) = 0;
  // A control's visibility, text, colour or box changed, or a notebook changed page.
  virtual void ControlChanged(const Control&) {}
  // A timer was enabled or disabled.
  virtual void TimerChanged(const Control&) {}
};

}  // namespace ostrel::skin
