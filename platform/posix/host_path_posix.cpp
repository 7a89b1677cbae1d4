#include "platform/host_path.h"

#include "platform/posix/prefix.h"
#include "platform/text.h"

namespace platform {

std::string HostPath(const std::string& path) {
  if (IsCurrentDriveRooted(path)) return HostPath("C:" + path);
  if (!HasDriveLetter(path)) {
    if (path.find('/') != std::string::npos) return path;
    std::string out = path;
    for (char& c : out)
      if (c == '\\') c = '/';
    return out;
  }
  // The first mapping finds and seeds the prefix, so that c: and z: are there
  // before anything is made under them; later ones only build the text.
  std::string out = PrefixDir() + "/dosdevices/";
  out += AsciiLower(path[0]);
  out += ':';
  for (size_t i = 2; i < path.size(); ++i) out += (path[i] == '\\') ? '/' : path[i];
  if (path.size() == 2) out += '/';
  return out;
}

}  // namespace platform
