// The pointer on the installer window: moves, presses (captured until their release) and
// releases, the leave tracked with TrackMouseEvent, and the cursor the form asks for.
#include <windowsx.h>

#include "app/win32/Win32Window.h"

namespace ostrel::app::win32 {
namespace {

skin::MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP: return skin::MouseButton::Left;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: return skin::MouseButton::Right;
    default: return skin::MouseButton::Middle;
  }
}

}  // namespace

void Win32Window::Pointer(UINT message, WPARAM w, LPARAM l) {
  const int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      Binding().PointerMove(x, y);
      break;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      Binding().PointerLeave();
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
      const bool second = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
      SetCapture(window_);  // the release comes here even outside the window
      Binding().PointerPress(x, y, ButtonOf(message), second);
      break;
    }
    default:
      if ((w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) ReleaseCapture();
      Binding().PointerRelease(x, y, ButtonOf(message));
      break;
  }
}

void Win32Window::ShowPointer(bool hand) {
  constexpr WORD kHand = 32649, kArrow = 32512;  // IDC_HAND, IDC_ARROW
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(hand ? kHand : kArrow)));
}

}  // namespace ostrel::app::win32
