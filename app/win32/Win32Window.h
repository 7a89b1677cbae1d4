// The installer window on Win32: a WS_POPUP window of 642 x 482, titled "极速安装", owned by the
// application's window (which carries the taskbar entry "Ostrel"), with the 1-pixel silver
// frame around the form's 640 x 480 content, painted off screen into a DIB section and copied
// once per WM_PAINT; an EDIT child for the edit box, a SetTimer timer per timer control, and the
// engine's failure notice carried as a window message.
#pragma once

#include <windows.h>

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

  // NativeParts.
  skin::TextMeasure& Measure() override { return canvas_; }
  void StyleEditBox(const EditBoxLook& look) override;
  void UpdateEditBox(const skin::Box& box, const std::string& text, bool visible) override;
  void RunTimer(int id, int interval, bool enabled) override;
  void ScheduleAnimation(int64_t delay) override;
  void ShowPointer(bool hand) override;
  void ShowErrorBox(const std::string& text) override;

  // SessionHost.
  void ShowAt(int left, int top) override;
  skin::Box VirtualScreen() override;
  void RunEvents() override;

  // FormHost.
  void StartSystemMove() override;
  void Repaint(const skin::Box& area) override;
  void CloseWindow() override;
  bool WindowClosed() const override { return caller_->Closed(); }
  void ShowMessage(const std::string& text) override;
  void ProcessMessages() override;
  std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& startFolder) override;
  std::shared_ptr<WindowThreadCaller> CallerOnWindowThread() override { return caller_; }
  std::uintptr_t WindowHandle() override { return reinterpret_cast<std::uintptr_t>(window_); }

 private:
  static constexpr int kEditId = 1;
  static constexpr UINT_PTR kAnimationTimer = 100;  // the timer ids of the timer controls count from 1

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT OnMessage(UINT message, WPARAM w, LPARAM l);
  // A close asked by the system (Alt+F4, the taskbar, the end of the session) takes the close
  // control's way: a running download keeps its resume files.
  void SystemClose();
  void Paint();
  void Pointer(UINT message, WPARAM w, LPARAM l);
  void Timer(UINT_PTR id);
  void EditChanged();
  LRESULT EditColours(HDC dc);
  void Destroyed();

  const HWND owner_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  DibCanvas canvas_;
  std::shared_ptr<MessageCaller> caller_;
  GdiFonts editFonts_;
  HBRUSH editBrush_ = nullptr;
  bool trackingLeave_ = false;
  bool updatingEdit_ = false;  // the edit box's text is being put in, not typed
  HWND picker_ = nullptr;  // the folder picker while it is open
};

}  // namespace ostrel::app::win32
