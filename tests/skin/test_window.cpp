#include "test_window.h"

namespace ostrel::skin::test {

TextSize FixedMeasure::MeasureText(std::string_view text, int fontHeight) {
  int codePoints = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++codePoints;
  return {codePoints * fontHeight, fontHeight + 6};
}

ShownWindow::ShownWindow() : window(std::make_unique<TfrmSpeedInstall>(host)) {
  form().SetClock([this] { return now; });
  window->FormShow();
  host.repainted.clear();
}

std::string ShownWindow::PictureOf(std::string_view image) {
  const Control& c = get(image);
  return c.picture ? c.picture->Resource() : std::string("(none)");
}

void ShownWindow::MoveTo(std::string_view name) {
  Box box = form().VisibleBox(get(name));
  form().PointerMove(box.left + box.width / 2, box.top + box.height / 2);
}

void ShownWindow::Click(std::string_view name, MouseButton button) {
  Box box = form().VisibleBox(get(name));
  int x = box.left + box.width / 2, y = box.top + box.height / 2;
  form().PointerMove(x, y);
  form().PointerPress(x, y, button);
  form().PointerRelease(x, y, button);
}

}  // namespace ostrel::skin::test
