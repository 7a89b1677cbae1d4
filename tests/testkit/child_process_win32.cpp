#include <windows.h>

#include "platform/win32/wide_text.h"
#include "tests/testkit/child_process.h"

namespace testkit {
namespace {

// One argument as the C run-time's parser takes it apart again: quoted when it has a space, a
// tab or a quote or is empty; backslashes doubled before a quote.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

HANDLE OutputFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  return CreateFileW(platform::win32::WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdoutFile, const std::string& stderrFile) {
  std::wstring commandLine = Quoted(platform::win32::Wide(program));
  for (const auto& a : args) commandLine += L" " + Quoted(platform::win32::Wide(a));
  const HANDLE output = OutputFile(stdoutFile), errors = OutputFile(stderrFile);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = errors;
  PROCESS_INFORMATION info{};
  if (output != INVALID_HANDLE_VALUE && errors != INVALID_HANDLE_VALUE &&
      CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                     0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
  }
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  if (errors != INVALID_HANDLE_VALUE) CloseHandle(errors);
}

ChildProcess::~ChildProcess() {
  if (!process_) return;
  if (!waited_) {
    TerminateProcess(process_, 1);
    Wait();
  }
  CloseHandle(process_);
}

int ChildProcess::Wait() {
  if (waited_ || !process_) return exitCode_;
  waited_ = true;
  DWORD code = 0;
  if (WaitForSingleObject(process_, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process_, &code))
    exitCode_ = static_cast<int>(code);
  return exitCode_;
}


}  // namespace testkit
