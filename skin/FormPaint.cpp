// Painting: each control over the ones before it, pictures at natural size with alpha,
// transparent labels only their text, clipped by every owner.
#include "skin/Form.h"

namespace ostrel::skin {

void Form::Paint(Canvas& canvas, const Box& area) {
  Box clip = area.Intersect({0, 0, kContentWidth, kContentHeight});
  for (int i : PaintOrder(roots_)) PaintControl(canvas, controls_[i], clip);
}

void Form::PaintControl(Canvas& canvas, Control& c, const Box& clip) {
  if (!c.visible) return;
  const Box box = AbsoluteBox(c);
  const Box inside = box.Intersect(clip);
  if (inside.Empty()) return;
  const ControlDescription& d = *c.description;
  switch (c.Kind()) {
    case ControlKind::Notebook:
      if (!c.children.empty()) PaintControl(canvas, controls_[c.children[c.pageIndex]], inside);
      return;
    case ControlKind::Panel:
      canvas.FillRect(box, d.fill, inside);
      break;
    case ControlKind::Image:
      if (c.picture) {
        c.shownFrame = c.picture->FrameIndexAt(Now() - c.pictureSince);
        canvas.DrawImage(c.picture->Frame(c.shownFrame), box.left, box.top, inside);
      }
      return;
    case ControlKind::Label:
      if (d.opaque) canvas.FillRect(box, d.fill, inside);
      if (!c.text.empty()) canvas.PaintText(c.text, box, {d.fontHeight, c.colour, d.placement}, inside);
      return;
    case ControlKind::Edit:
      canvas.FillRect(box, d.fill, inside);
      if (!c.text.empty()) canvas.PaintText(c.text, box, {d.fontHeight, c.colour, d.placement}, inside);
      return;
    default:
      break;
  }
  for (int i : PaintOrder(c.children)) PaintControl(canvas, controls_[i], inside);
}

int64_t Form::AdvanceAnimations() {
  int64_t next = -1;
  const int64_t now = Now();
  for (Control& c : controls_) {
    if (!c.picture || !c.picture->Animated() || !IsShowing(c)) continue;
    const int64_t elapsed = now - c.pictureSince;
    if (c.picture->FrameIndexAt(elapsed) != c.shownFrame) Invalidate(c);
    int64_t due = c.picture->MsUntilNextFrame(elapsed);
    if (due >= 0 && (next < 0 || due < next)) next = due;
  }
  return next;
}

}  // namespace ostrel::skin
