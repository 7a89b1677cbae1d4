// Calls from other threads onto the window's thread as sent window messages: SendMessageW blocks
// the caller until the window procedure has run the call, and the window's thread runs sent
// messages whenever it waits for messages (its loop, boxes, dialogs, "process pending
// messages"). The engine's failure notice goes as WM_DOWNLOAD_FAILED itself. Once the window is
// closing, calls are dropped; a message sent to a window that is gone fails at once.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "app/FormHost.h"

namespace ostrel::app::win32 {

// A call carried by the message: lParam points to the std::function<void()>.
inline constexpr UINT kRunCallMessage = WM_APP + 1;
// The engine's failure notice: 2134 (WM_USER + 0x456), wParam and lParam 0; its handling runs
// the caller's RunDownloadFailed.
inline constexpr UINT WM_DOWNLOAD_FAILED = WM_USER + 0x456;

class MessageCaller : public WindowThreadCaller {
 public:
  explicit MessageCaller(HWND window) : window_(window) {}

  void Call(const std::function<void()>& call) override;
  void NotifyDownloadFailed() override;
  // From now on calls are dropped.
  void Close() { closed_ = true; }
  bool Closed() const { return closed_; }

 private:
  const HWND window_;
  std::atomic<bool> closed_{false};
};

}  // namespace ostrel::app::win32
