// The programs that hold a file open, as the Restart Manager tells them. rstrtmgr.dll is
// loaded when it is asked for: Windows XP has none, and the program must still start there.
#include <windows.h>
#include <restartmanager.h>

#include <vector>

#include "platform/folder.h"
#include "platform/win32/folder_state.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

using StartSession = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RegisterResources = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
using GetList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, LPDWORD);
using EndSession = DWORD(WINAPI*)(DWORD);

template <typename T>
T Function(HMODULE module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string Holders(const std::wstring& path) {
  const HMODULE module = LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return {};
  const auto start = Function<StartSession>(module, "RmStartSession");
  const auto add = Function<RegisterResources>(module, "RmRegisterResources");
  const auto list = Function<GetList>(module, "RmGetList");
  const auto end = Function<EndSession>(module, "RmEndSession");
  std::string names;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (start && add && list && end && start(&session, 0, key) == ERROR_SUCCESS) {
    LPCWSTR files[] = {path.c_str()};
    UINT needed = 0, count = 0;
    DWORD reasons = 0;
    std::vector<RM_PROCESS_INFO> found;
    if (add(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
        list(session, &needed, &count, nullptr, &reasons) == ERROR_MORE_DATA && needed > 0) {
      found.resize(needed);
      count = needed;
      if (list(session, &needed, &count, found.data(), &reasons) != ERROR_SUCCESS) count = 0;
      for (UINT i = 0; i < count && i < found.size(); ++i)
        names += (names.empty() ? "" : ", ") + win32::Utf8(found[i].strAppName);
    }
    end(session);
  }
  FreeLibrary(module);
  return names;
}

}  // namespace

std::string Folder::ProgramsHolding(const std::string& name) const {
  if (!IsOpen() || !win32::IsPlainName(name)) return {};
  return Holders(win32::Below(win32::StateOf(handle_)->path, name));
}

}  // namespace platform
