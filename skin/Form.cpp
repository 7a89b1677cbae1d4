#include "skin/Form.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

#include "platform/ascii_case.h"

namespace ostrel::skin {
namespace {

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Form::Form(const WindowDescription& description) : description_(&description), clock_(SteadyMs) {
  controls_.reserve(description.controls.size());
  for (const ControlDescription& d : description.controls) {
    Control& c = controls_.emplace_back(d);
    c.index = static_cast<int>(controls_.size()) - 1;
    c.form = this;
    if (d.owner.empty()) {
      roots_.push_back(c.index);
      continue;
    }
    Control* owner = Find(d.owner);
    if (!owner) throw std::logic_error("form description: unknown owner " + std::string(d.owner));
    c.parent = owner->index;
    owner->children.push_back(c.index);
  }
}

Control* Form::Find(std::string_view name) {
  for (Control& c : controls_)
    if (platform::EqualsNoCase(c.Name(), name)) return &c;
  return nullptr;
}

Control& Form::Get(std::string_view name) {
  if (Control* c = Find(name)) return *c;
  throw std::out_of_range("no control " + std::string(name));
}

void Form::SetTextMeasure(TextMeasure* measure) {
  measure_ = measure;
  for (Control& c : controls_) AutoSize(c);
}

void Form::ShowPage(std::string_view notebook, int index) {
  Control& nb = Get(notebook);
  if (index < 0 || index >= static_cast<int>(nb.children.size()) || nb.pageIndex == index) return;
  nb.pageIndex = index;
  Invalidate(nb);
  Changed(nb);
}

int Form::PageIndex(std::string_view notebook) { return Get(notebook).pageIndex; }

void Form::SetVisible(std::string_view name, bool visible) {
  Control& c = Get(name);
  if (c.visible == visible) return;
  Invalidate(c);
  c.visible = visible;
  Invalidate(c);
  Changed(c);
}

void Form::SetText(std::string_view name, std::string_view text) {
  Control& c = Get(name);
  if (c.text == text) return;
  Invalidate(c);
  c.text = text;
  AutoSize(c);
  Invalidate(c);
  Changed(c);
}

void Form::SetTextColour(Control& c, Rgb colour) {
  if (c.colour == colour) return;
  c.colour = colour;
  Invalidate(c);
  Changed(c);
}

void Form::SetWidth(std::string_view name, int width) {
  Control& c = Get(name);
  if (c.box.width == width) return;
  Invalidate(c);
  c.box.width = width;
  Invalidate(c);
  Changed(c);
}

void Form::SetPicture(Control& image, std::shared_ptr<const Picture> picture) {
  image.picture = std::move(picture);
  image.pictureSince = Now();
  image.shownFrame = 0;
  Invalidate(image);
}

void Form::SetTimerEnabled(std::string_view name, bool enabled) {
  Control& t = Get(name);
  if (t.enabled == enabled) return;
  t.enabled = enabled;
  if (observer_) observer_->TimerChanged(t);
}

void Form::TimerTick(std::string_view name) {
  Control& t = Get(name);
  if (t.enabled) Fire(t.description->on.timer, t, nullptr);
}

void Form::Invalidate(const Control& c) {
  Box area = VisibleBox(c);
  if (observer_ && !area.Empty()) observer_->Invalidate(area);
}

void Form::Changed(const Control& c) {
  if (observer_) observer_->ControlChanged(c);
}

void Form::AutoSize(Control& c) {
  const ControlDescription& d = *c.description;
  if (!measure_ || !c.IsLabel()) return;
  if (d.placement == TextPlacement::Auto) {
    TextSize size = measure_->MeasureText(c.text, d.fontHeight);
    c.box.width = size.width;
    c.box.height = size.height;
  } else if (d.placement == TextPlacement::Centred || d.placement == TextPlacement::CentredAcross) {
    c.box = WidenedAroundCentre(c, measure_->MeasureText(c.text, d.fontHeight).width);
  }
}

// A centred text wider than its label's box widens the box around its centre, as far as the
// window allows; a text that fits keeps the box of the description.
Box Form::WidenedAroundCentre(const Control& c, int textWidth) const {
  Box box = c.description->box;
  if (textWidth <= box.width) return box;
  const int ownerLeft = c.parent < 0 ? 0 : AbsoluteBox(controls_[c.parent]).left;
  box.width = std::min(textWidth, kContentWidth);
  box.left -= (box.width - c.description->box.width) / 2;
  box.left = std::clamp(box.left, -ownerLeft, kContentWidth - ownerLeft - box.width);
  return box;
}

void Form::Fire(std::string_view handler, Control& c, const MouseEvent* mouse) {
  if (!handler.empty() && target_) target_->Handle(handler, c, mouse);
}

}  // namespace ostrel::skin
