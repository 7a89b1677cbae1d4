// Where controls are: boxes in content pixels, what is on show, which control is on top.
#include "skin/Form.h"

namespace ostrel::skin {
namespace {

// Panels, notebooks, pages and the edit box lie above the pictures and labels of their owner.
bool Windowed(const Control& c) {
  ControlKind k = c.Kind();
  return k != ControlKind::Image && k != ControlKind::Label;
}

}  // namespace

std::vector<int> Form::PaintOrder(const std::vector<int>& children) const {
  std::vector<int> order;
  order.reserve(children.size());
  for (int pass = 0; pass < 2; ++pass)
    for (int i : children)
      if (controls_[i].Kind() != ControlKind::Timer && Windowed(controls_[i]) == (pass == 1)) order.push_back(i);
  return order;
}

Box Form::AbsoluteBox(const Control& c) const {
  Box box = c.box;
  for (int p = c.parent; p >= 0; p = controls_[p].parent) box = box.Moved(controls_[p].box.left, controls_[p].box.top);
  return box;
}

bool Form::IsShowing(const Control& c) const {
  if (c.Kind() == ControlKind::Timer) return false;
  for (const Control* x = &c;; x = &controls_[x->parent]) {
    if (!x->visible) return false;
    if (x->parent < 0) return true;
    const Control& owner = controls_[x->parent];
    if (owner.Kind() == ControlKind::Notebook && owner.children[owner.pageIndex] != x->index) return false;
  }
}

Box Form::VisibleBox(const Control& c) const {
  if (!IsShowing(c)) return {};
  Box box = AbsoluteBox(c).Intersect({0, 0, kContentWidth, kContentHeight});
  for (int p = c.parent; p >= 0; p = controls_[p].parent) box = box.Intersect(AbsoluteBox(controls_[p]));
  return box;
}

Control* Form::ControlAt(int x, int y) {
  const Box content{0, 0, kContentWidth, kContentHeight};
  if (!content.Contains(x, y)) return nullptr;
  std::vector<int> order = PaintOrder(roots_);
  for (auto i = order.rbegin(); i != order.rend(); ++i)
    if (Control* hit = HitTest(controls_[*i], x, y, content)) return hit;
  return nullptr;
}

Control* Form::HitTest(Control& c, int x, int y, const Box& clip) {
  if (!c.visible) return nullptr;
  Box box = AbsoluteBox(c).Intersect(clip);
  if (!box.Contains(x, y)) return nullptr;
  if (c.Kind() == ControlKind::Notebook) {
    if (c.children.empty()) return &c;
    Control* hit = HitTest(controls_[c.children[c.pageIndex]], x, y, box);
    return hit ? hit : &c;
  }
  std::vector<int> order = PaintOrder(c.children);
  for (auto i = order.rbegin(); i != order.rend(); ++i)
    if (Control* hit = HitTest(controls_[*i], x, y, box)) return hit;
  return &c;
}

}  // namespace ostrel::skin
