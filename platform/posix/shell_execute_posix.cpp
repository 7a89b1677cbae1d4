#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ascii_case.h"
#include "platform/host_path.h"
#include "platform/posix/command_line.h"
#include "platform/posix/prefix.h"
#include "platform/posix/shell_launch.h"
#include "platform/shell_execute.h"

namespace platform {
namespace posix {
namespace {

std::string LowerExtension(const std::string& file) {
  const size_t sep = file.find_last_of("\\/");
  const size_t dot = file.rfind('.');
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return {};
  return AsciiLowerCopy(file.substr(dot));
}

// A program this host runs itself: executable, and a script ("#!") or an ELF file, whatever its
// name says (a launcher may be a script named ".exe").
bool IsHostProgram(const std::string& host, const struct stat& st) {
  if (!S_ISREG(st.st_mode) || ::access(host.c_str(), X_OK) != 0) return false;
  char magic[4] = {};
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  const ssize_t got = ::read(fd, magic, sizeof magic);
  ::close(fd);
  return (got >= 2 && magic[0] == '#' && magic[1] == '!') ||
         (got == 4 && magic[0] == 0x7f && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F');
}

std::string Absolute(const std::string& host) {
  if (!host.empty() && host[0] == '/') return host;
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return host;
  return std::string(cwd) + "/" + host;
}

}  // namespace

std::optional<LaunchPlan> PlanShellLaunch(const std::string& file, const std::string& params, const std::string& dir) {
  if (file.empty()) return std::nullopt;
  const std::string host = Absolute(HostPath(file));
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) return std::nullopt;

  LaunchPlan plan;
  plan.workDir = dir.empty() ? std::string() : Absolute(HostPath(dir));
  const std::vector<std::string> args = SplitCommandLine(params);
  const std::string ext = LowerExtension(file);
  const bool hostProgram = IsHostProgram(host, st);
  const bool windowsProgram = !hostProgram && S_ISREG(st.st_mode) && (ext == ".exe" || ext == ".msi");

  if (windowsProgram) {
    if (std::string wine = FindExecutable("wine"); !wine.empty()) {
      plan.program = wine;
      if (ext == ".msi") plan.args = {"msiexec", "/i"};
      plan.args.push_back(host);
      plan.args.insert(plan.args.end(), args.begin(), args.end());
      plan.env = {{"WINEPREFIX", PrefixDir()}};
      return plan;
    }
  } else if (hostProgram || (S_ISREG(st.st_mode) && ::access(host.c_str(), X_OK) == 0)) {
    plan.program = host;
    plan.args = args;
    return plan;
  }
  plan.program = FindExecutable("xdg-open");
  if (plan.program.empty()) return std::nullopt;
  plan.args = {host};
  return plan;
}

}  // namespace posix

bool ShellOpen(WindowHandle, const std::string& file, const std::string& params, const std::string& dir) {
  posix::EnsurePrefix();
  const std::optional<posix::LaunchPlan> plan = posix::PlanShellLaunch(file, params, dir);
  return plan && posix::LaunchDetached(*plan) == 0;
}

bool ShellRunAs(WindowHandle, const std::string& file, const std::string& params) {
  posix::EnsurePrefix();
  const std::optional<posix::LaunchPlan> plan = posix::PlanShellLaunch(file, params, "");
  return plan && posix::LaunchDetached(*plan) == 0;
}

}  // namespace platform
