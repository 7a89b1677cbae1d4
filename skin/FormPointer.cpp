// Pointer dispatch: the topmost control on show under the pointer gets enter, leave and
// press; the control pressed gets the release, and a left press and release on the same
// control is a click, run before the release (the second press of a double click makes none).
// While a click's handler runs (a box or the folder picker it opened included) enter and leave
// wait: the pointer's place is only noted, and the release compares the control under it with
// the one entered last. A leave meanwhile is the host's window losing the pointer to what the
// handler opened, not the pointer leaving: it is dropped.
#include "skin/Form.h"

namespace ostrel::skin {
namespace {

MouseEvent Local(const Box& box, int x, int y, MouseButton button) { return {button, x - box.left, y - box.top}; }

class ClickRunning {
 public:
  explicit ClickRunning(int& depth) : depth_(depth) { ++depth_; }
  ~ClickRunning() { --depth_; }
  ClickRunning(const ClickRunning&) = delete;
  ClickRunning& operator=(const ClickRunning&) = delete;

 private:
  int& depth_;
};

}  // namespace

void Form::PointerMove(int x, int y) {
  pointerX_ = x, pointerY_ = y;
  if (clickDepth_ == 0) FollowPointer();
}

void Form::FollowPointer() {
  Control* now = ControlAt(pointerX_, pointerY_);
  int index = now ? now->index : -1;
  if (index == hovered_) return;
  int before = hovered_;
  hovered_ = index;
  if (before >= 0) Fire(controls_[before].description->on.mouseLeave, controls_[before], nullptr);
  if (index >= 0) Fire(controls_[index].description->on.mouseEnter, controls_[index], nullptr);
}

void Form::PointerLeave() {
  if (clickDepth_ > 0 || hovered_ < 0) return;
  int before = hovered_;
  hovered_ = -1;
  Fire(controls_[before].description->on.mouseLeave, controls_[before], nullptr);
}

void Form::PointerPress(int x, int y, MouseButton button, bool secondOfDouble) {
  PointerMove(x, y);
  Control* target = ControlAt(x, y);
  if (!target) return;
  captured_ = target->index;
  capturedButton_ = button;
  clickArmed_ = button == MouseButton::Left && !secondOfDouble;
  MouseEvent e = Local(AbsoluteBox(*target), x, y, button);
  Fire(target->description->on.mouseDown, *target, &e);
}

void Form::PointerRelease(int x, int y, MouseButton button) {
  Control* target = nullptr;
  bool click = false;
  if (captured_ >= 0) {
    if (button != capturedButton_) return;
    target = &controls_[captured_];
    captured_ = -1;
    click = clickArmed_ && IsShowing(*target) && VisibleBox(*target).Contains(x, y);
  } else {
    target = ControlAt(x, y);
  }
  if (!target) return;
  pointerX_ = x, pointerY_ = y;
  if (click) {
    ClickRunning running(clickDepth_);
    Fire(target->description->on.click, *target, nullptr);
  }
  MouseEvent e = Local(AbsoluteBox(*target), x, y, button);
  Fire(target->description->on.mouseUp, *target, &e);
  if (clickDepth_ == 0) FollowPointer();
}

}  // namespace ostrel::skin
