// The installer window's procedure: paint, timers, the edit box, the calls sent
// from other threads (WM_DOWNLOAD_FAILED among them) and the end of the window.
#include "app/StartUp.h"
#include "app/win32/Win32Window.h"
#include "platform/win32/wide_text.h"
#include "skin/ControlNames.h"

namespace ostrel::app::win32 {
LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, w, l);
  return self->Handle(message, w, l);
}

void Win32Window::Guarded(const std::function<void()>& action) {
  RunHandler(action, [this](const std::string& text) { ShowErrorBox(text); });
}

LRESULT Win32Window::Handle(UINT message, WPARAM w, LPARAM l) {
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
      if (reinterpret_cast<HWND>(w) != window_ || LOWORD(l) != HTCLIENT) break;
      FollowCursor();
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
      if (!caller_->Closed()) Guarded(*reinterpret_cast<const std::function<void()>*>(l));
      return 0;
    case WM_DOWNLOAD_FAILED:
      if (!caller_->Closed() && form_) Guarded([this] { form_->WMDownloadFailed(); });
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
  if (form_) {
    form_->Form().Paint(canvas_, {r.left - kFrame, r.top - kFrame, r.right - r.left, r.bottom - r.top});
    GdiFlush();
  }
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_.Dc(), r.left, r.top, SRCCOPY);
  EndPaint(window_, &paint);
}

void Win32Window::Timer(UINT_PTR id) {
  if (id == kAnimationTimer) {
    KillTimer(window_, kAnimationTimer);
    ScheduleAnimation();
    return;
  }
  auto found = timers_.find(id);
  if (found == timers_.end() || !form_) return;
  const std::string name = found->second;
  Guarded([&] { form_->Form().TimerTick(name); });
}

void Win32Window::EditChanged() {
  if (syncingEdit_ || !form_ || !edit_) return;
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
  const std::string utf8 = platform::win32::Utf8(text);
  Guarded([&] { form_->Form().SetText(ostrel::skin::ctl::edtAZLJ, utf8); });
}

LRESULT Win32Window::EditColours(HDC dc) {
  if (!form_) return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  const skin::Control& edit = form_->Form().Get(ostrel::skin::ctl::edtAZLJ);
  SetTextColor(dc, edit.colour.AsBgr());
  SetBkColor(dc, edit.description->fill.AsBgr());
  return reinterpret_cast<LRESULT>(editBrush_);
}

void Win32Window::Destroyed() {
  caller_->Close();
  for (const auto& [id, name] : timers_) KillTimer(window_, id);
  KillTimer(window_, kAnimationTimer);
  // Closing the window cancels the picker: its modal loop ends and the picker's call returns.
  if (picker_) EndDialog(picker_, IDCANCEL);
  PostQuitMessage(0);
}

}  // namespace ostrel::app::win32
