// Runs lnkinfo (Debian's liblnk-utils) on a file and returns what it prints.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace testutil {

inline bool HaveLnkinfo() { return ::access("/usr/bin/lnkinfo", X_OK) == 0; }

inline std::string Lnkinfo(const std::string& file) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], 1);
    ::dup2(fds[1], 2);
    ::close(fds[0]);
    ::close(fds[1]);
    ::execl("/usr/bin/lnkinfo", "lnkinfo", file.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  std::string out;
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) out = "lnkinfo failed:\n" + out;
  return out;
}

}  // namespace testutil
