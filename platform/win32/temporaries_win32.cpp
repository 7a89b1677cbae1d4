#include "platform/temporaries.h"

#include <string_view>

#include "platform/folder.h"

namespace platform {
namespace {

constexpr size_t kUniqueTagLength = 6;

bool IsTagCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// name == prefix followed by exactly six characters of [a-z0-9].
bool IsTemporaryName(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + kUniqueTagLength || name.substr(0, prefix.size()) != prefix) return false;
  for (char c : name.substr(prefix.size()))
    if (!IsTagCharacter(c)) return false;
  return true;
}

}  // namespace

int RemoveTemporariesBeside(const std::string& hostPath, const std::string& tag) {
  const size_t slash = hostPath.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "." : hostPath.substr(0, slash + 1);
  const std::string prefix = hostPath.substr(slash == std::string::npos ? 0 : slash + 1) + tag + "-";
  if (prefix.size() == tag.size() + 1) return 0;  // no file name
  const Folder dir = Folder::Open(folder);
  int removed = 0;
  for (const std::string& name : dir.Names())
    if (IsTemporaryName(name, prefix) && dir.Inspect(name).kind == Folder::EntryKind::File && dir.Remove(name))
      ++removed;
  return removed;
}

}  // namespace platform
