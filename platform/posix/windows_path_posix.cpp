// Host paths back to Windows path texts: the longest drive of the prefix that
// holds the path names it; the rest of the host is Z:.
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/host_path.h"

namespace platform {
namespace {

// An absolute path without ".", "..", repeated or trailing "/" (by the text, not the disk).
std::string Lexical(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

std::string Absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return Lexical(path);
  char cwd[PATH_MAX];
  return Lexical(std::string(::getcwd(cwd, sizeof cwd) ? cwd : "/") + "/" + path);
}

// The path with its deepest existing folder resolved on the disk.
std::string Resolved(const std::string& lexical) {
  std::string head = lexical, tail;
  for (;;) {
    if (char* real = ::realpath(head.c_str(), nullptr)) {
      std::string out = real;
      ::free(real);
      return Lexical(out + tail);
    }
    const size_t slash = head.find_last_of('/');
    if (slash == std::string::npos || head == "/") return lexical;
    tail = head.substr(slash) + tail;
    head = slash == 0 ? "/" : head.substr(0, slash);
  }
}

// The part of path below folder ("" for folder itself), or nothing.
std::optional<std::string> Below(const std::string& path, const std::string& folder) {
  if (path.compare(0, folder.size(), folder) != 0) return std::nullopt;
  if (path.size() == folder.size()) return std::string();
  if (path[folder.size()] != '/') return std::nullopt;
  return path.substr(folder.size());
}

std::string DriveText(char letter, const std::string& rest) {
  std::string out(1, static_cast<char>(letter - 'a' + 'A'));
  out += ":\\";
  for (size_t i = rest.empty() ? 0 : 1; i < rest.size(); ++i) out += rest[i] == '/' ? '\\' : rest[i];
  return out;
}

// The forms of a drive's folder: its dosdevices entry, the entry's link text and where it leads.
std::vector<std::string> DriveFolders(const std::string& entry) {
  std::vector<std::string> forms{entry};
  char target[PATH_MAX];
  const ssize_t n = ::readlink(entry.c_str(), target, sizeof target - 1);
  if (n > 0) {
    const std::string text(target, static_cast<size_t>(n));
    forms.push_back(Lexical(text[0] == '/' ? text : entry.substr(0, entry.rfind('/')) + "/" + text));
  }
  forms.push_back(Resolved(entry));
  return forms;
}

}  // namespace

std::string WindowsPath(const std::string& hostPath) {
  if (hostPath.empty() || HasDriveLetter(hostPath) || IsCurrentDriveRooted(hostPath)) return hostPath;
  const std::string lexical = Absolute(hostPath);
  const std::string forms[] = {lexical, Resolved(lexical)};
  const std::string dosdevices = PrefixDir() + "/dosdevices/";
  // The drive that holds the most of the path: the one with the fewest parts left
  // (drive C: rather than a letter linked to a folder above the prefix).
  std::optional<std::string> best;
  char bestLetter = 'z';
  const auto parts = [](const std::string& rest) { return std::count(rest.begin(), rest.end(), '/'); };
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string entry = dosdevices + letter + ":";
    struct stat st;
    if (::lstat(entry.c_str(), &st) != 0) continue;
    for (const std::string& folder : DriveFolders(entry)) {
      if (folder == "/") continue;  // z: itself: what lies on the host is taken below
      for (const std::string& form : forms) {
        const std::optional<std::string> rest = Below(form, folder);
        if (rest && (!best || parts(*rest) < parts(*best))) best = rest, bestLetter = letter;
      }
    }
  }
  if (best) return DriveText(bestLetter, *best);
  return DriveText('z', lexical == "/" ? std::string() : lexical);
}

std::string ExecutablePath() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

std::string ExecutableWindowsPath() {
  const std::string host = ExecutablePath();
  return host.empty() ? host : WindowsPath(host);
}

}  // namespace platform
