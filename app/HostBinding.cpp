#include "app/HostBinding.h"

#include <algorithm>

#include "app/FSpeedInstall.h"
#include "app/StartUp.h"
#include "skin/ControlNames.h"


namespace ostrel::app {

void HostBinding::Attach(TfrmSpeedInstall& form) {
  form_ = &form;
  skin::Form& model = form.Form();
  model.SetTextMeasure(&native_.Measure());
  native_.StyleEditBox(EditLook());
  timers_.clear();
  for (skin::Control& c : model.Controls()) {
    if (c.Kind() != skin::ControlKind::Timer) continue;
    timers_.emplace_back(c.Name());
    TimerChanged(c);
  }
  UpdateEditBox();
  AnimationDue();
}

EditBoxLook HostBinding::EditLook() const {
  if (!form_) return {};
  const skin::Control& edit = form_->Form().Get(skin::ctl::edtAZLJ);
  return {edit.description->fontHeight, edit.colour, edit.description->fill};
}

void HostBinding::ControlChanged() {
  UpdateEditBox();
  AnimationDue();
}

void HostBinding::TimerChanged(const skin::Control& timer) {
  const auto found = std::find(timers_.begin(), timers_.end(), timer.Name());
  if (found == timers_.end()) return;
  native_.RunTimer(static_cast<int>(found - timers_.begin()) + 1, timer.description->interval, timer.enabled);
}

void HostBinding::UpdateEditBox() {
  if (!form_) return;
  skin::Form& model = form_->Form();
  const skin::Control& edit = model.Get(skin::ctl::edtAZLJ);
  const skin::Box box = model.AbsoluteBox(edit);
  native_.UpdateEditBox({box.left + kFrame, box.top + kFrame, box.width, box.height}, edit.text, model.IsShowing(edit));
}

void HostBinding::AnimationDue() {
  if (!form_) return;
  const int64_t due = form_->Form().AdvanceAnimations();
  if (due >= 0) native_.ScheduleAnimation(due);
}

void HostBinding::Paint(skin::Canvas& canvas, const skin::Box& area) {
  if (form_) form_->Form().Paint(canvas, {area.left - kFrame, area.top - kFrame, area.width, area.height});
}

void HostBinding::PointerMove(int x, int y) {
  OnPointer([&](skin::Form& model) { model.PointerMove(x - kFrame, y - kFrame); });
}

void HostBinding::PointerPress(int x, int y, skin::MouseButton button, bool second) {
  OnPointer([&](skin::Form& model) { model.PointerPress(x - kFrame, y - kFrame, button, second); });
}

void HostBinding::PointerRelease(int x, int y, skin::MouseButton button) {
  OnPointer([&](skin::Form& model) { model.PointerRelease(x - kFrame, y - kFrame, button); });
}

void HostBinding::PointerLeave() {
  OnPointer([&](skin::Form& model) { model.PointerLeave(); });
}

// The event, then the pointer's shape the form asks for.
void HostBinding::OnPointer(const std::function<void(skin::Form&)>& event) {
  if (!form_) return;
  Guarded([&] { event(form_->Form()); });
  native_.ShowPointer(form_->Form().HandPointer());
}

void HostBinding::TimerFired(int id) {
  if (!form_ || id < 1 || id > TimerCount()) return;
  const std::string name = timers_[static_cast<size_t>(id - 1)];
  Guarded([&] { form_->Form().TimerTick(name); });
}

void HostBinding::EditBoxEdited(const std::string& text) {
  if (form_) Guarded([&] { form_->Form().SetText(skin::ctl::edtAZLJ, text); });
}

void HostBinding::Guarded(const std::function<void()>& action) {
  RunHandler(action, [this](const std::string& text) { native_.ShowErrorBox(text); });
}

}  // namespace ostrel::app
