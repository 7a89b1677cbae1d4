// The installer window on Win32: a WS_POPUP window of 642 x 482, titled "极速安装", owned by the
// application's window (which carries the taskbar entry "Ostrel"), with the 1-pixel silver
// frame around the form's 640 x 480 content, painted off screen into a DIB section and copied
// once per WM_PAINT; an EDIT child over edtAZLJ, a SetTimer timer per timer control, the
// pointer fed to the form, and WM_DOWNLOAD_FAILED run by the window procedure.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/WindowSession.h"
#include "app/win32/DibCanvas.h"
#include "app/win32/MessageCaller.h"

namespace ostrel::app::win32 {

class Win32Window : public SessionHost {
 public:
  // owner: the application's window (none in tests).
  explicit Win32Window(HWND owner = nullptr);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return window_; }
  HWND EditBox() const { return edit_; }
  DibCanvas& Canvas() { return canvas_; }

  // SessionHost.
  void Attach(TfrmSpeedInstall& form) override;
  void ShowErrorBox(const std::string& text) override;
  void ShowAt(int left, int top) override;
  skin::Box VirtualScreen() override;
  void RunEvents() override;

  // FormHost.
  void StartSystemMove() override;
  void Repaint(const skin::Box& area) override;
  void CloseWindow() override;
  bool WindowClosed() const override { return caller_->Closed(); }
  void ControlChanged(const skin::Control& control) override;
  void TimerChanged(const skin::Control& timer) override;
  void ShowMessage(const std::string& text) override;
  void ProcessMessages() override;
  std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& startFolder) override;
  std::shared_ptr<WindowThreadCaller> CallerOnWindowThread() override { return caller_; }
  std::uintptr_t WindowHandle() override { return reinterpret_cast<std::uintptr_t>(window_); }

 private:
  static constexpr int kEditId = 1;
  static constexpr UINT_PTR kAnimationTimer = 100;  // the timer ids of the timer controls count from 1

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  // Runs a form event; an error that escapes its handler is shown in the error box.
  void Guarded(const std::function<void()>& action);
  // A close asked by the system (Alt+F4, the taskbar, the end of the session) takes the close
  // control's way: a running download keeps its resume files.
  void SystemClose();
  void Paint();
  void Pointer(UINT message, WPARAM w, LPARAM l);
  void FollowCursor();
  void Timer(UINT_PTR id);
  void EditChanged();
  LRESULT EditColours(HDC dc);
  void SyncEdit();
  void ScheduleAnimation();
  void Destroyed();

  const HWND owner_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  DibCanvas canvas_;
  TfrmSpeedInstall* form_ = nullptr;
  std::shared_ptr<MessageCaller> caller_;
  std::map<UINT_PTR, std::string> timers_;  // timer id -> timer control
  GdiFonts editFonts_;
  HBRUSH editBrush_ = nullptr;
  bool trackingLeave_ = false;
  bool syncingEdit_ = false;
  HWND picker_ = nullptr;  // the folder picker while it is open
};

}  // namespace ostrel::app::win32
