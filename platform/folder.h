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
  // The regular file at name, for reading; never through a link.
  File OpenForReading(const std::string& name) const;
  // Renames within this folder, replacing a file or link at to.
  bool Rename(const std::string& from, const std::string& to) const;
  // Renames within this folder without ever replacing what is at to (Exists then). A running
  // program or a loaded library may be renamed; a file held open without delete sharing can't
  // (InUse, Windows).
  FileError RenameNoReplace(const std::string& from, const std::string& to) const;
  // Removes the file or link at name, read-only or not (Windows: the attribute is cleared first
  // and set again when the removal fails).
  bool Remove(const std::string& name) const;
  // Removes the empty folder at name (never a link's target); false when anything is in it.
  bool RemoveFolder(const std::string& name) const;
  // Asks the system to remove the file at name when it next starts (Windows, administrators only);
  // false where that can't be done.
  bool RemoveAtRestart(const std::string& name) const;
  // The names of the programs that hold the file at name open, ", " between them (Windows:
  // the Restart Manager's, where the system has one); empty where that can't be told.
  std::string ProgramsHolding(const std::string& name) const;
  // Sets the DOS hidden and system attributes of the file at name; true where the system has none.
  bool SetHiddenAndSystem(const std::string& name, bool hidden, bool system) const;

 private:
  static constexpr intptr_t kNoHandle = -1;
  explicit Folder(intptr_t handle) : handle_(handle) {}
  friend class File;

  intptr_t handle_ = kNoHandle;
};

}  // namespace platform
