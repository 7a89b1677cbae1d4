#include "platform/posix/detached_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform::posix {
namespace {

constexpr unsigned kCloseRangeCloexec = 1u << 2;  // CLOSE_RANGE_CLOEXEC

void WriteErrno(int fd, int err) {
  while (::write(fd, &err, sizeof err) < 0 && errno == EINTR) {
  }
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Everything the child needs, built before fork: after it only
// async-signal-safe calls are made.
struct ExecImage {
  std::vector<std::string> argStore, envStore;
  std::vector<char*> argv, envp;

  explicit ExecImage(const LaunchPlan& plan) {
    argStore.push_back(plan.program);
    argStore.insert(argStore.end(), plan.args.begin(), plan.args.end());
    for (char** e = environ; e && *e; ++e) {
      bool overridden = false;
      for (const auto& [name, value] : plan.env)
        if (std::strncmp(*e, name.c_str(), name.size()) == 0 && (*e)[name.size()] == '=') overridden = true;
      if (!overridden) envStore.emplace_back(*e);
    }
    for (const auto& [name, value] : plan.env) envStore.push_back(name + "=" + value);
    for (std::string& s : argStore) argv.push_back(s.data());
    argv.push_back(nullptr);
    for (std::string& s : envStore) envp.push_back(s.data());
    envp.push_back(nullptr);
  }
};

[[noreturn]] void RunGrandchild(const ExecImage& image, const char* workDir, int errFd, int maxFd) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction dfl;
  std::memset(&dfl, 0, sizeof dfl);
  dfl.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig) sigaction(sig, &dfl, nullptr);  // ignored signals would be inherited

  const int devNull = ::open("/dev/null", O_RDONLY);
  if (devNull >= 0) {
    ::dup2(devNull, 0);
    if (devNull != 0) ::close(devNull);
  }
  if (workDir && ::chdir(workDir) != 0) {
    WriteErrno(errFd, errno);
    ::_exit(127);
  }
  if (::syscall(SYS_close_range, 3u, ~0u, kCloseRangeCloexec) != 0) {
    for (int fd = 3; fd < maxFd; ++fd)
      if (fd != errFd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  ::execve(image.argv[0], image.argv.data(), image.envp.data());
  WriteErrno(errFd, errno);
  ::_exit(127);
}

}  // namespace

std::string FindExecutable(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = end > start ? dirs.substr(start, end - start) : std::string(".");
    const std::string candidate = dir + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

int LaunchDetached(const LaunchPlan& plan) {
  if (plan.program.empty()) return ENOENT;
  const ExecImage image(plan);
  const char* workDir = plan.workDir.empty() ? nullptr : plan.workDir.c_str();
  long maxFd = ::sysconf(_SC_OPEN_MAX);
  if (maxFd < 0 || maxFd > 65536) maxFd = 65536;

  int errPipe[2];
  if (::pipe2(errPipe, O_CLOEXEC) != 0) return errno;
  const pid_t child = ::fork();
  if (child < 0) {
    const int err = errno;
    ::close(errPipe[0]);
    ::close(errPipe[1]);
    return err;
  }
  if (child == 0) {
    ::close(errPipe[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) {
      WriteErrno(errPipe[1], errno);
      ::_exit(1);
    }
    if (grandchild > 0) ::_exit(0);
    RunGrandchild(image, workDir, errPipe[1], static_cast<int>(maxFd));
  }
  ::close(errPipe[1]);
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes on exec: no bytes means the program runs.
  int err = 0;
  ssize_t n;
  while ((n = ::read(errPipe[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  ::close(errPipe[0]);
  return n == static_cast<ssize_t>(sizeof err) ? (err ? err : EIO) : 0;
}

}  // namespace platform::posix
