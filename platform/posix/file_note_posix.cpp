// File notes as a user extended attribute.
#include <sys/xattr.h>

#include "platform/file_note.h"

namespace platform {
namespace {

constexpr char kNoteName[] = "user.ostrel.note";
constexpr size_t kMaxNote = 1024;

}  // namespace

bool WriteFileNote(const std::string& hostPath, std::string_view note) {
  if (note.size() > kMaxNote) return false;
  return ::lsetxattr(hostPath.c_str(), kNoteName, note.data(), note.size(), 0) == 0;
}

std::optional<std::string> ReadFileNote(const std::string& hostPath) {
  std::string note(kMaxNote, '\0');
  const ssize_t got = ::lgetxattr(hostPath.c_str(), kNoteName, note.data(), note.size());
  if (got < 0) return std::nullopt;
  note.resize(static_cast<size_t>(got));
  return note;
}

}  // namespace platform
