// The window at run time: its controls built from the description, the operations that
// change its look, pointer dispatch and painting. No toolkit type is involved.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "skin/Canvas.h"
#include "skin/Control.h"
#include "skin/FormDescription.h"
#include "skin/FormEvents.h"

namespace ostrel::skin {

class Form {
 public:
  explicit Form(const WindowDescription& description = SpeedInstallWindow());
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const WindowDescription& Description() const { return *description_; }
  std::vector<Control>& Controls() { return controls_; }
  // The first control of that name (without regard to case), or nullptr.
  Control* Find(std::string_view name);
  // The control of that name; throws std::out_of_range for a name the form doesn't have.
  Control& Get(std::string_view name);

  void SetEventTarget(EventTarget* target) { target_ = target; }
  void SetObserver(FormObserver* observer) { observer_ = observer; }
  // Self-sizing labels measure their texts with it from now on (and at once), and so do
  // centred labels, whose box widens around its centre for a text wider than it.
  void SetTextMeasure(TextMeasure* measure);
  // Milliseconds of a steady clock; the animations follow it.
  void SetClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }
  int64_t Now() const { return clock_(); }

  // The look.
  void ShowPage(std::string_view notebook, int index);
  int PageIndex(std::string_view notebook);
  void SetVisible(std::string_view name, bool visible);
  void SetText(std::string_view name, std::string_view text);
  void SetTextColour(Control& control, Rgb colour);
  void SetWidth(std::string_view name, int width);
  void SetPicture(Control& image, std::shared_ptr<const Picture> picture);
  void SetTimerEnabled(std::string_view name, bool enabled);
  // Runs the timer's handler if the timer is enabled.
  void TimerTick(std::string_view name);

  // Geometry, in content pixels.
  Box AbsoluteBox(const Control& c) const;
  Box VisibleBox(const Control& c) const;  // clipped by its owners; empty when not on show
  bool IsShowing(const Control& c) const;
  Control* ControlAt(int x, int y);

  // The pointer, in content pixels: a pixel belongs to a control when it lies in its box (the
  // right and bottom edges are outside). While a click's handler runs, enter and leave wait
  // until its release is over.
  void PointerMove(int x, int y);
  // The second press of a double click raises press and release, but no click.
  void PointerPress(int x, int y, MouseButton button, bool secondOfDouble = false);
  void PointerRelease(int x, int y, MouseButton button);
  void PointerLeave();
  Control* Hovered() { return hovered_ < 0 ? nullptr : &controls_[hovered_]; }
  bool HandPointer() { return hovered_ >= 0 && controls_[hovered_].description->handPointer; }

  // Paints the content that lies in `area`.
  void Paint(Canvas& canvas, const Box& area = {0, 0, kContentWidth, kContentHeight});
  // Invalidates the animated pictures on show whose frame has changed; returns the
  // milliseconds until the next change is due, -1 when none is.
  int64_t AdvanceAnimations();

 private:
  void Invalidate(const Control& c);
  void Changed(const Control& c);
  // Self-sizing labels take their text's size; centred ones widen for a text wider than them.
  void AutoSize(Control& c);
  Box WidenedAroundCentre(const Control& c, int textWidth) const;
  void Fire(std::string_view handler, Control& c, const MouseEvent* mouse);
  // Enter and leave for the control now under the pointer.
  void FollowPointer();
  void PaintControl(Canvas& canvas, Control& c, const Box& clip);
  Control* HitTest(Control& c, int x, int y, const Box& clip);
  std::vector<int> PaintOrder(const std::vector<int>& children) const;

  const WindowDescription* description_;
  std::vector<Control> controls_;
  std::vector<int> roots_;
  EventTarget* target_ = nullptr;
  FormObserver* observer_ = nullptr;
  TextMeasure* measure_ = nullptr;
  std::function<int64_t()> clock_;
  int hovered_ = -1;
  int captured_ = -1;
  MouseButton capturedButton_ = MouseButton::Left;
  bool clickArmed_ = false;
  int clickDepth_ = 0;  // click handlers running (one inside another's events included)
  int pointerX_ = -1, pointerY_ = -1;  // where the pointer was last seen
};

}  // namespace ostrel::skin
