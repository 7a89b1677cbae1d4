// What the flow asks of the window besides its look: the boxes, the folder picker and the
// pending messages.
#include <shlobj.h>

#include "app/StartUp.h"
#include "app/win32/Win32Window.h"
#include "platform/win32/wide_text.h"

namespace ostrel::app::win32 {
namespace {

struct PickerStart {
  std::wstring folder;
  HWND* picker;
};

int CALLBACK PickerEvents(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  auto* start = reinterpret_cast<PickerStart*>(data);
  *start->picker = dialog;
  if (!start->folder.empty()) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->folder.c_str()));
  return 0;
}

}  // namespace

void Win32Window::ShowErrorBox(const std::string& text) {
  const std::wstring caption = platform::win32::Wide(kApplicationTitle);
  MessageBoxW(window_ ? window_ : owner_, platform::win32::Wide(text).c_str(), caption.c_str(),
              MB_OK | MB_ICONERROR);
}

void Win32Window::ShowMessage(const std::string& text) {
  MessageBoxW(window_, platform::win32::Wide(text).c_str(), platform::win32::Wide(kMessageCaption).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

void Win32Window::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {  // left for the message loop, which then ends
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The shell's folder dialog without an owner: the window stays enabled and keeps running its
// messages meanwhile. One picker at a time: while one is open, another call brings it to the
// front and answers as cancelled. Closing the window cancels it.
std::optional<std::string> Win32Window::BrowseForFolder(const std::string& title, const std::string& startFolder) {
  if (picker_) {
    SetForegroundWindow(picker_);
    return std::nullopt;
  }
  PickerStart start{platform::win32::Wide(startFolder), &picker_};
  const std::wstring wideTitle = platform::win32::Wide(title);
  wchar_t displayName[MAX_PATH + 1] = {};
  BROWSEINFOW request{};
  request.hwndOwner = nullptr;
  request.pszDisplayName = displayName;
  request.lpszTitle = wideTitle.c_str();
  request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  request.lpfn = PickerEvents;
  request.lParam = reinterpret_cast<LPARAM>(&start);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&request);
  picker_ = nullptr;
  if (!chosen) return std::nullopt;
  wchar_t path[MAX_PATH + 1] = {};
  const bool isPath = SHGetPathFromIDListW(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  if (!isPath || !path[0]) return std::nullopt;
  return platform::win32::Utf8(path);
}

}  // namespace ostrel::app::win32
