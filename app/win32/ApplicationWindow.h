// The application's window: never seen (it has no size), it carries the taskbar entry with the
// application's title "Ostrel" and the program's icon, owns the installer window (which so has
// no taskbar entry of its own) and is the parent of the elevation prompt.
#pragma once

#include <windows.h>

namespace ostrel::app::win32 {

class ApplicationWindow {
 public:
  ApplicationWindow();
  ~ApplicationWindow();
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;

  HWND Handle() const { return window_; }
  // Puts the taskbar entry up (the window stays without size).
  void ShowTaskbarEntry();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);

  HWND window_ = nullptr;
};

}  // namespace ostrel::app::win32
