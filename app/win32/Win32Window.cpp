#include "app/win32/Win32Window.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/wide_text.h"
#include "skin/ControlNames.h"

namespace ostrel::app::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TfrmSpeedInstall";

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW kind{};
  kind.cbSize = sizeof kind;
  if (GetClassInfoExW(instance, kClassName, &kind)) return;
  kind.style = CS_DBLCLKS;
  kind.lpfnWndProc = DefWindowProcW;  // replaced per window once it is made
  kind.hInstance = instance;
  kind.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  kind.lpszClassName = kClassName;
  RegisterClassExW(&kind);
}

}  // namespace

Win32Window::Win32Window(HWND owner) : owner_(owner), canvas_(kWindowWidth, kWindowHeight, POINT{kFrame, kFrame}) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(instance);
  const std::wstring title = platform::win32::Wide(skin::SpeedInstallWindow().title);
  window_ = CreateWindowExW(0, kClassName, title.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, kWindowWidth,
                            kWindowHeight, owner, nullptr, instance, nullptr);
  if (!window_) throw std::runtime_error("The installer window could not be made");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Window::Procedure));
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_LEFT | ES_AUTOHSCROLL, 0, 0, 0, 0, window_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
  caller_ = std::make_shared<MessageCaller>(window_);
  canvas_.Clear(skin::SpeedInstallWindow().frameColour);
}

Win32Window::~Win32Window() {
  caller_->Close();
  if (window_) DestroyWindow(window_);
  if (editBrush_) DeleteObject(editBrush_);
}

void Win32Window::Attach(TfrmSpeedInstall& form) {
  form_ = &form;
  skin::Form& model = form.Form();
  model.SetTextMeasure(&canvas_);
  const skin::Control& edit = model.Get(ostrel::skin::ctl::edtAZLJ);
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(editFonts_.Font(edit.description->fontHeight)), FALSE);
  editBrush_ = CreateSolidBrush(edit.description->fill.AsBgr());
  UINT_PTR id = 1;
  for (skin::Control& c : model.Controls()) {
    if (c.Kind() != skin::ControlKind::Timer) continue;
    timers_[id++] = std::string(c.Name());
    TimerChanged(c);
  }
  SyncEdit();
  ScheduleAnimation();
}

void Win32Window::ShowAt(int left, int top) {
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
}

skin::Box Win32Window::VirtualScreen() {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Until the window is gone: a modal loop running when it went (the folder picker's) may have
// taken the quit message.
void Win32Window::RunEvents() {
  MSG message;
  while (window_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Window::StartSystemMove() {
  ReleaseCapture();
  SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Win32Window::Repaint(const skin::Box& area) {
  if (!window_) return;
  RECT r{area.left + kFrame, area.top + kFrame, area.Right() + kFrame, area.Bottom() + kFrame};
  InvalidateRect(window_, &r, FALSE);
}

void Win32Window::CloseWindow() {
  caller_->Close();
  if (window_) DestroyWindow(window_);
}

void Win32Window::SystemClose() {
  if (form_ && !caller_->Closed()) Guarded([this] { form_->lblCloseClick(nullptr); });
  else CloseWindow();
}

void Win32Window::ControlChanged(const skin::Control&) {
  SyncEdit();
  ScheduleAnimation();
}

void Win32Window::TimerChanged(const skin::Control& timer) {
  if (!window_) return;
  auto found = std::find_if(timers_.begin(), timers_.end(), [&](const auto& t) { return t.second == timer.Name(); });
  if (found == timers_.end()) return;
  if (timer.enabled) SetTimer(window_, found->first, static_cast<UINT>(timer.description->interval), nullptr);
  else KillTimer(window_, found->first);
}

void Win32Window::SyncEdit() {
  if (!form_ || !edit_) return;
  skin::Form& model = form_->Form();
  const skin::Control& edit = model.Get(ostrel::skin::ctl::edtAZLJ);
  const skin::Box box = model.AbsoluteBox(edit);
  SetWindowPos(edit_, nullptr, box.left + kFrame, box.top + kFrame, box.width, box.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const std::wstring text = platform::win32::Wide(edit.text);
  std::wstring shown(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  shown.resize(static_cast<size_t>(GetWindowTextW(edit_, shown.data(), static_cast<int>(shown.size()))));
  if (shown != text) {
    syncingEdit_ = true;
    SetWindowTextW(edit_, text.c_str());
    syncingEdit_ = false;
  }
  ShowWindow(edit_, model.IsShowing(edit) ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::ScheduleAnimation() {
  if (!form_ || !window_) return;
  const int64_t due = form_->Form().AdvanceAnimations();
  if (due >= 0) SetTimer(window_, kAnimationTimer, static_cast<UINT>(std::max<int64_t>(due, USER_TIMER_MINIMUM)), nullptr);
}

}  // namespace ostrel::app::win32
