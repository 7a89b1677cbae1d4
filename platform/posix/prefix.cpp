#include "platform/posix/prefix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/host_path.h"
#include "platform/file.h"
#include "platform/posix/registry_store.h"

namespace platform::posix {
namespace {

constexpr char kReadyMarker[] = "/.ostrel-prefix-ready";

std::string UserName() {
  std::string name;
  std::vector<char> buf(16384);
  struct passwd pw;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_name)
    name = found->pw_name;
  if (name.empty())
    if (const char* u = std::getenv("USER")) name = u;
  if (name.empty()) name = "user";
  for (char& c : name)
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 32)
      c = '_';
  return name;
}

bool LinkIfMissing(const char* target, const std::string& link) {
  if (::symlink(target, link.c_str()) == 0 || errno == EEXIST) return true;
  return false;
}

}  // namespace

PrefixLock::PrefixLock(const std::string& name) : PrefixLock(PrefixDir(), name) {}

PrefixLock::PrefixLock(const std::string& dir, const std::string& name) {
  if (!MakeFolders(dir, 0755)) return;
  fd_ = ::open((dir + "/" + name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

PrefixLock::~PrefixLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::string DesktopFolderText() { return "C:\\users\\" + UserName() + "\\Desktop"; }

namespace {

// HostPath would seed the prefix first: this maps a "C:\..." text without doing so.
std::string OnDriveC(const std::string& dir, const std::string& text) {
  std::string out = dir + "/drive_c";
  for (size_t i = 2; i < text.size(); ++i) out += text[i] == '\\' ? '/' : text[i];
  return out;
}

}  // namespace

bool SeedPrefix(const std::string& dir) {
  if (PathExists(dir + kReadyMarker)) return true;
  PrefixLock lock(dir, ".ostrel-prefix.lock");
  if (!lock.Held()) return false;
  if (PathExists(dir + kReadyMarker)) return true;  // another process finished meanwhile

  bool ok = MakeFolders(dir + "/drive_c", 0755) && MakeFolders(dir + "/dosdevices", 0755);
  ok = ok && LinkIfMissing("../drive_c", dir + "/dosdevices/c:") && LinkIfMissing("/", dir + "/dosdevices/z:");
  ok = ok && MakeFolders(OnDriveC(dir, kWindowsDirText), 0755);
  const std::string desktop = DesktopFolderText();
  ok = ok && MakeFolders(OnDriveC(dir, desktop), 0755);
  ok = ok && WriteHiveString(dir, kHkeyCurrentUser, kShellFoldersKey, "Desktop", desktop, true) == RegResult::kOk;
  return ok && File::Open(dir + kReadyMarker, File::Mode::CreateOrTruncate, 0644).IsOpen();
}

}  // namespace platform::posix
