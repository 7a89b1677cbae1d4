// Arguments from the UTF-16 command line; a console written in UTF-16, anything else in UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <io.h>

#include "platform/console.h"
#include "platform/win32/wide_text.h"

namespace platform {

std::vector<std::string> ProgramArguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(win32::Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

void WriteText(std::FILE* stream, std::string_view utf8) {
  std::fflush(stream);
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    const std::wstring wide = win32::Wide(utf8);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

}  // namespace platform
