// The pointer on the installer window: moves, presses (captured until their release) and
// releases in content pixels, the leave tracked with TrackMouseEvent, and the cursor the form asks for.
#include <windowsx.h>

#include "app/win32/Win32Window.h"

namespace ostrel::app::win32 {

void Win32Window::Pointer(UINT message, WPARAM w, LPARAM l) {
  if (!form_) return;
  skin::Form& model = form_->Form();
  const int x = GET_X_LPARAM(l) - kFrame, y = GET_Y_LPARAM(l) - kFrame;
  using skin::MouseButton;
  switch (message) {
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      Guarded([&] { model.PointerMove(x, y); });
      break;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      Guarded([&] { model.PointerLeave(); });
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
      const MouseButton button = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? MouseButton::Left
                                 : message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ? MouseButton::Right
                                                                                             : MouseButton::Middle;
      const bool second = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
      SetCapture(window_);  // the release comes here even outside the window
      Guarded([&] { model.PointerPress(x, y, button, second); });
      break;
    }
    default: {
      const MouseButton button = message == WM_LBUTTONUP   ? MouseButton::Left
                                 : message == WM_RBUTTONUP ? MouseButton::Right
                                                           : MouseButton::Middle;
      if ((w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) ReleaseCapture();
      Guarded([&] { model.PointerRelease(x, y, button); });
      break;
    }
  }
  FollowCursor();
}

void Win32Window::FollowCursor() {
  if (!form_) return;
  constexpr WORD kHand = 32649, kArrow = 32512;  // IDC_HAND, IDC_ARROW
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(form_->Form().HandPointer() ? kHand : kArrow)));
}

}  // namespace ostrel::app::win32
