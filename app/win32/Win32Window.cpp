#include "app/win32/Win32Window.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/wide_text.h"

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

void Win32Window::StyleEditBox(const EditBoxLook& look) {
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(editFonts_.Font(look.fontHeight)), FALSE);
  if (editBrush_) DeleteObject(editBrush_);
  editBrush_ = CreateSolidBrush(look.fill.AsBgr());
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
  if (Form() && !caller_->Closed()) Binding().Guarded([this] { Form()->lblCloseClick(nullptr); });
  else CloseWindow();
}

void Win32Window::RunTimer(int id, int interval, bool enabled) {
  if (!window_) return;
  if (enabled) SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(interval), nullptr);
  else KillTimer(window_, static_cast<UINT_PTR>(id));
}

void Win32Window::UpdateEditBox(const skin::Box& box, const std::string& text, bool visible) {
  if (!edit_) return;
  SetWindowPos(edit_, nullptr, box.left, box.top, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
  const std::wstring wide = platform::win32::Wide(text);
  std::wstring shown(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  shown.resize(static_cast<size_t>(GetWindowTextW(edit_, shown.data(), static_cast<int>(shown.size()))));
  if (shown != wide) {
    updatingEdit_ = true;
    SetWindowTextW(edit_, wide.c_str());
    updatingEdit_ = false;
  }
  ShowWindow(edit_, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::ScheduleAnimation(int64_t delay) {
  if (window_) SetTimer(window_, kAnimationTimer, static_cast<UINT>(std::max<int64_t>(delay, USER_TIMER_MINIMUM)), nullptr);
}

}  // namespace ostrel::app::win32
