#include "app/win32/MessageCaller.h"

namespace ostrel::app::win32 {

void MessageCaller::Call(const std::function<void()>& call) {
  if (closed_) return;
  std::function<void()> carried = call;
  SendMessageW(window_, kRunCallMessage, 0, reinterpret_cast<LPARAM>(&carried));
}

void MessageCaller::NotifyDownloadFailed() {
  if (closed_) return;
  SendMessageW(window_, WM_DOWNLOAD_FAILED, 0, 0);
}

}  // namespace ostrel::app::win32
