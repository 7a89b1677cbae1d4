// An open folder on the host, and the files and folders directly in it,
// reached by name without ever following a symbolic link. Used where a whole
// tree is written below one place (archive extraction), so that a link planted
// on the way can't lead a write outside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file.h"

namespace platform {

class Folder {
 public:
  // Opens a host folder; links on the way to it are followed.
  static Folder Open(const std::string& hostPath);

  Folder() = default;
  ~Folder();
  Folder(Folder&& other) noexcept : handle_(other.handle_) { other.handle_ = kNoHandle; }
  Folder& operator=(Folder&& other) noexcept;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  bool IsOpen() const { return handle_ != kNoHandle; }

  // The folder name in this one ("." for this one again), never through a link;
  // made first (permissions less the umask) when missing and create is set.
  Folder OpenChild(const std::string& name, bool create, unsigned permissions = 0777) const;

  // The names of the entries in this folder (not "." and ".."); empty when it can't be read.
  std::vector<std::string> Names() const;

  enum class EntryKind { Missing, File, Link, Folder, Other, Unknown };
  struct Entry {
    EntryKind kind = EntryKind::Unknown;
    bool ownerMayWrite = false;  // the owner's write permission (Windows: the read-only attribute is off)
    bool writable = false;       // this user may write it
  };
  // What is at name, the link itself for a link.
  Entry Inspect(const std::string& name) const;

  // A new file at name: exclusive, never through a link.
  File CreateNewFile(const std::string& name, unsigned permissions) const;
  // Renames within this folder, replacing a file or link at to.
  bool Rename(const std::string& from, const std::string& to) const;
  // Removes the file or link at name.
  bool Remove(const std::string& name) const;

 private:
  static constexpr intptr_t kNoHandle = -1;
  explicit Folder(intptr_t handle) : handle_(handle) {}
  friend class File;

  intptr_t handle_ = kNoHandle;
};

}  // namespace platform
