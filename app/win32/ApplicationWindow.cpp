#include "app/win32/ApplicationWindow.h"

#include <string>

#include "app/StartUp.h"
#include "platform/win32/wide_text.h"

namespace ostrel::app::win32 {
namespace {
constexpr wchar_t kClassName[] = L"TApplication";
}  // namespace

ApplicationWindow::ApplicationWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW kind{};
  kind.cbSize = sizeof kind;
  if (!GetClassInfoExW(instance, kClassName, &kind)) {
    kind.lpfnWndProc = &ApplicationWindow::Procedure;
    kind.hInstance = instance;
    kind.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    kind.lpszClassName = kClassName;
    RegisterClassExW(&kind);
  }
  const std::wstring title = platform::win32::Wide(kApplicationTitle);
  window_ = CreateWindowExW(0, kClassName, title.c_str(), WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, instance, nullptr);
}

ApplicationWindow::~ApplicationWindow() {
  if (window_) DestroyWindow(window_);
}

void ApplicationWindow::ShowTaskbarEntry() {
  if (window_) ShowWindow(window_, SW_SHOWNA);
}

// Activated from the taskbar, it hands the activation on to the window it owns.
LRESULT CALLBACK ApplicationWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_ACTIVATE && LOWORD(w) != WA_INACTIVE) {
    HWND popup = GetLastActivePopup(window);
    if (popup && popup != window && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
      SetActiveWindow(popup);
      return 0;
    }
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace ostrel::app::win32
