#include "platform/host_path.h"

#include <cctype>
#include <cstdlib>

#include "platform/posix/prefix.h"

namespace platform {

std::string PrefixDir() {
  if (const char* p = std::getenv("OSTREL_PREFIX"); p && *p) return p;
  std::string base;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    base = std::string(h) + "/.local/share";
  } else {
    base = "/tmp";
  }
  return base + "/ostrel/prefix";
}

bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

bool IsCurrentDriveRooted(const std::string& path) {
  return path.size() >= 1 && path[0] == '\\' && (path.size() == 1 || path[1] != '\\') &&
         path.find('/') == std::string::npos;
}

std::string HostPath(const std::string& path) {
  if (IsCurrentDriveRooted(path)) return HostPath("C:" + path);
  if (!HasDriveLetter(path)) {
    if (path.find('/') != std::string::npos) return path;
    std::string out = path;
    for (char& c : out)
      if (c == '\\') c = '/';
    return out;
  }
  posix::EnsurePrefix();  // so that c: and z: are there before anything is made under them
  std::string out = PrefixDir() + "/dosdevices/";
  out += static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
  out += ':';
  for (size_t i = 2; i < path.size(); ++i) out += (path[i] == '\\') ? '/' : path[i];
  if (path.size() == 2) out += '/';
  return out;
}

}  // namespace platform
