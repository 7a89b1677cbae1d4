// Starting programs through the shell; neither call waits for the program.
#include <windows.h>
#include <shellapi.h>

#include "platform/shell_execute.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// An empty text stays a null pointer, as the shell expects for "none".
const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

bool ShellOpen(WindowHandle owner, const std::string& file, const std::string& params, const std::string& dir) {
  const std::wstring wideFile = win32::Wide(file), wideParams = win32::Wide(params), wideDir = win32::Wide(dir);
  const HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(owner), L"open", wideFile.c_str(), OrNull(wideParams),
                                         OrNull(wideDir), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;  // the documented success test
}

bool ShellRunAs(WindowHandle owner, const std::string& file, const std::string& params) {
  const std::wstring wideFile = win32::Wide(file), wideParams = win32::Wide(params);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // No error box of the shell when the relaunch fails; done before the call returns.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = reinterpret_cast<HWND>(owner);
  info.lpVerb = L"runas";
  info.lpFile = wideFile.c_str();
  info.lpParameters = OrNull(wideParams);
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace platform
