// The installer window's procedure: paint, timers, the edit box, the calls sent
// from other threads (the engine's failure notice among them) and the end of the window.
#include "app/win32/Win32Window.h"
#include "platform/win32/wide_text.h"

namespace ostrel::app::win32 {
LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, w, l);
  return self->OnMessage(message, w, l);
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM w, LPARAM l) {
  HWND window = window_;
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE: case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      Pointer(message, w, l);
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(w) != window_ || LOWORD(l) != HTCLIENT || !Form()) break;
      ShowPointer(Form()->Form().HandPointer());
      return TRUE;
    case WM_TIMER:
      Timer(w);
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == kEditId && HIWORD(w) == EN_CHANGE) EditChanged();
      return 0;
    case WM_CTLCOLOREDIT:
      return EditColours(reinterpret_cast<HDC>(w));
    case kRunCallMessage:
      if (!caller_->Closed()) Binding().Guarded(*reinterpret_cast<const std::function<void()>*>(l));
      return 0;
    case WM_DOWNLOAD_FAILED:
      if (!caller_->Closed()) Binding().Guarded([this] { caller_->RunDownloadFailed(); });
      return 0;
    case WM_CLOSE:  // Alt+F4, the taskbar's close: the close control's way
      SystemClose();
      return 0;
    case WM_ENDSESSION:  // the session ends: the same, before the system ends the program
      if (w) SystemClose();
      return 0;
    case WM_DESTROY:
      Destroyed();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      edit_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, w, l);
}

void Win32Window::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  const RECT& r = paint.rcPaint;
  Binding().Paint(canvas_, {r.left, r.top, r.right - r.left, r.bottom - r.top});
  GdiFlush();
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_.Dc(), r.left, r.top, SRCCOPY);
  EndPaint(window_, &paint);
}

void Win32Window::Timer(UINT_PTR id) {
  if (id == kAnimationTimer) {
    KillTimer(window_, kAnimationTimer);
    Binding().AnimationDue();
    return;
  }
  Binding().TimerFired(static_cast<int>(id));
}

void Win32Window::EditChanged() {
  if (updatingEdit_ || !edit_) return;
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
  Binding().EditBoxEdited(platform::win32::Utf8(text));
}

LRESULT Win32Window::EditColours(HDC dc) {
  if (!Form()) return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  const EditBoxLook look = Binding().EditLook();
  SetTextColor(dc, look.text.AsBgr());
  SetBkColor(dc, look.fill.AsBgr());
  return reinterpret_cast<LRESULT>(editBrush_);
}

void Win32Window::Destroyed() {
  caller_->Close();
  for (int id = 1; id <= Binding().TimerCount(); ++id) KillTimer(window_, static_cast<UINT_PTR>(id));
  KillTimer(window_, kAnimationTimer);
  // Closing the window cancels the picker: its modal loop ends and the picker's call returns.
  if (picker_) EndDialog(picker_, IDCANCEL);
  PostQuitMessage(0);
}

}  // namespace ostrel::app::win32
