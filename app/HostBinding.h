// What binds a host's window to the form class, written once for every host: the edit box over
// edtAZLJ, the timer controls, the animation clock, the pointer and the paint, each event run
// the way an event runs (an escaped error goes to the error box). The host implements
// NativeParts with its toolkit's calls and passes its events on: it only translates.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/Canvas.h"
#include "skin/Form.h"
#include "skin/FormEvents.h"
#include "skin/Geometry.h"

class TfrmSpeedInstall;

namespace ostrel::app {

// The window's width and height with its 1-pixel frame.
constexpr int kFrame = 1;
constexpr int kWindowWidth = skin::kContentWidth + 2 * kFrame;
constexpr int kWindowHeight = skin::kContentHeight + 2 * kFrame;

// The edit box's look: its font's height in pixels and its colours.
struct EditBoxLook {
  int fontHeight = 0;
  skin::Rgb text, fill;
};

// What a host's toolkit does for the binding. Boxes are in window pixels (frame included).
class NativeParts {
 public:
  virtual ~NativeParts() = default;
  // Measures text the way the host paints it.
  virtual skin::TextMeasure& Measure() = 0;
  // Gives the edit box its look; once, before it is first placed.
  virtual void StyleEditBox(const EditBoxLook& look) = 0;
  // Places the edit box, puts text into it where it holds another, and shows or hides it.
  virtual void UpdateEditBox(const skin::Box& box, const std::string& text, bool visible) = 0;
  // Starts timer id (1, 2, ...) every interval milliseconds, or stops it.
  virtual void RunTimer(int id, int interval, bool enabled) = 0;
  // Asks for HostBinding::AnimationDue in delay milliseconds (0 or more), instead of any earlier time.
  virtual void ScheduleAnimation(int64_t delay) = 0;
  // The pointer's shape over the window: the hand, or the arrow.
  virtual void ShowPointer(bool hand) = 0;
  // The error box of an escaped error: error icon, captioned with the application's title.
  virtual void ShowErrorBox(const std::string& text) = 0;
};

class HostBinding {
 public:
  explicit HostBinding(NativeParts& native) : native_(native) {}

  // Binds the form: text metrics, the edit box's look and place, the timers, the animation.
  void Attach(TfrmSpeedInstall& form);
  TfrmSpeedInstall* Form() const { return form_; }
  // The timer ids in use are 1 to TimerCount().
  int TimerCount() const { return static_cast<int>(timers_.size()); }
  EditBoxLook EditLook() const;

  // The form's changes.
  void ControlChanged();
  void TimerChanged(const skin::Control& timer);

  // The host's events, in window pixels.
  void Paint(skin::Canvas& canvas, const skin::Box& area);
  void PointerMove(int x, int y);
  void PointerPress(int x, int y, skin::MouseButton button, bool second);
  void PointerRelease(int x, int y, skin::MouseButton button);
  void PointerLeave();
  void TimerFired(int id);
  void AnimationDue();
  void EditBoxEdited(const std::string& text);
  // Runs a form event; an error that escapes its handler is shown in the error box.
  void Guarded(const std::function<void()>& action);

 private:
  void UpdateEditBox();
  void OnPointer(const std::function<void(skin::Form&)>& event);

  NativeParts& native_;
  TfrmSpeedInstall* form_ = nullptr;
  std::vector<std::string> timers_;  // timer control names, id - 1
};

}  // namespace ostrel::app
