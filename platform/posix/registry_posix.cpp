#include <ctime>
#include <optional>

#include "platform/file.h"
#include "platform/host_path.h"
#include "platform/posix/prefix.h"
#include "platform/posix/registry_hive.h"
#include "platform/posix/registry_store.h"
#include "platform/registry.h"

namespace platform {
namespace posix {
namespace {

const char* RelativeTo(RootKey root) {
  return root == kHkeyLocalMachine ? "\\Machine" : "\\User\\S-1-5-21-0-0-0-1000";
}

}  // namespace

std::string HiveFileFor(const std::string& prefixDir, RootKey root) {
  if (root == kHkeyLocalMachine) return prefixDir + "/system.reg";
  if (root == kHkeyCurrentUser) return prefixDir + "/user.reg";
  return {};
}

RegResult WriteHiveString(const std::string& prefixDir, RootKey root, const std::string& keyPath,
                          const std::string& valueName, const std::string& value, bool onlyIfMissing) {
  const std::string file = HiveFileFor(prefixDir, root);
  if (file.empty() || !NormalizeKeyPath(keyPath)) return RegResult::kBadArgument;
  PrefixLock lock(prefixDir, ".ostrel-registry.lock");
  if (!lock.Held()) return RegResult::kIoError;

  std::optional<Hive> hive;
  const std::optional<std::string> text = ReadWholeFile(file, kMaxHiveBytes);
  if (text && text->empty()) {
    hive = Hive::Empty(RelativeTo(root));  // an empty file holds nothing to keep
  } else if (text) {
    hive = Hive::Parse(*text);
    if (!hive) return RegResult::kIoError;  // not a hive file: never overwrite it
  } else {
    // Only a missing hive starts afresh; one that can't be read is kept.
    if (PathExists(file)) return RegResult::kIoError;
    hive = Hive::Empty(RelativeTo(root));
  }
  if (onlyIfMissing && hive->HasValue(keyPath, valueName)) return RegResult::kOk;
  hive->WriteText(keyPath, valueName, value, static_cast<int64_t>(std::time(nullptr)));
  return ReplaceFileAtomically(file, hive->Serialize()) ? RegResult::kOk : RegResult::kIoError;
}

}  // namespace posix

RegResult RegReadString(RootKey root, const std::string& keyPath, const std::string& valueName, std::string& out) {
  out.clear();
  if (!posix::NormalizeKeyPath(keyPath) || posix::HiveFileFor(".", root).empty()) return RegResult::kBadArgument;
  posix::EnsurePrefix();
  const std::optional<std::string> text = ReadWholeFile(posix::HiveFileFor(PrefixDir(), root), posix::kMaxHiveBytes);
  if (!text) return RegResult::kKeyNotFound;
  const std::optional<posix::Hive> hive = posix::Hive::Parse(*text);
  if (!hive) return RegResult::kIoError;
  if (!hive->KeyExists(keyPath)) return RegResult::kKeyNotFound;
  bool found = false;
  std::optional<std::string> value = hive->ReadText(keyPath, valueName, &found);
  if (!found) return RegResult::kValueNotFound;
  if (!value) return RegResult::kNotText;
  out = std::move(*value);
  return RegResult::kOk;
}

RegResult RegWriteString(RootKey root, const std::string& keyPath, const std::string& valueName,
                         const std::string& value) {
  if (!posix::EnsurePrefix()) return RegResult::kIoError;
  return posix::WriteHiveString(PrefixDir(), root, keyPath, valueName, value, false);
}

}  // namespace platform
