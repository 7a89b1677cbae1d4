#include "install_traces.h"

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <string>

#include "support/pubShare.h"
#include "platform/win32/wide_text.h"
#endif

namespace ostrel::app::test {

#ifdef _WIN32
void RemoveInstallTraces() {
  namespace fs = std::filesystem;
  std::error_code ignored;
  for (const char* path : {"C:\\Inst", "C:\\Apps", "C:\\Program Files\\Ostrel", "C:\\victim.zip"}) {
    // Read-only files go too.
    const fs::path root(platform::win32::Wide(path));
    for (auto it = fs::recursive_directory_iterator(root, ignored); !ignored && it != fs::recursive_directory_iterator();
         it.increment(ignored))
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    ignored.clear();
    SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(root, ignored);
  }
  const std::string desktop =
      ReadRegString("Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop", kHkeyCurrentUser);
  if (!desktop.empty()) DeleteFileW(platform::win32::Wide(desktop + "\\OstrelPro.lnk").c_str());
  for (const wchar_t* key : {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik",
                             L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik"})
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);  // the 32-bit view, as this program's own
}
#else
void RemoveInstallTraces() {}
#endif

}  // namespace ostrel::app::test
