#include "install_traces.h"

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "support/pubShare.h"
#include "platform/win32/wide_text.h"
#endif

namespace ostrel::app::test {

#ifdef _WIN32
namespace {

// Removes a file or a folder with everything in it, read-only files too; a reparse point is
// removed, never entered. (The run-time's remove_all does not end on a file Wine keeps.)
void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(path.c_str());
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
      } while (FindNextFileW(find, &entry));
      FindClose(find);
    }
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveInstallTraces() {
  for (const char* path : {"C:\\Inst", "C:\\Apps", "C:\\Program Files\\Ostrel", "C:\\victim.zip"})
    RemoveTree(platform::win32::Wide(path));
  const std::string desktop =
      ReadRegString("Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop", kHkeyCurrentUser);
  if (!desktop.empty()) DeleteFileW(platform::win32::Wide(desktop + "\\OstrelPro.lnk").c_str());
  // The keys in the 32-bit view, where the installer writes them whatever the test program's
  // own width: what they hold, then the keys themselves.
  for (const wchar_t* key : {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik",
                             L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik"}) {
    HKEY open = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE |
                      KEY_WOW64_32KEY, &open) != ERROR_SUCCESS)
      continue;
    RegDeleteTreeW(open, nullptr);
    RegCloseKey(open);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY, 0);
  }
}
#else
void RemoveInstallTraces() {}
#endif

}  // namespace ostrel::app::test
