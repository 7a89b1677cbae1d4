// Files on host paths (paths already mapped by HostPath): an owning handle that
// opens regular files only, and the whole-file operations built on it.
//
// Every open refuses a symbolic link in the last component and anything that
// isn't a regular file (folder, FIFO, device) without ever blocking on it, and
// the handle is never inherited by a started program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class Folder;

enum class FileError {
  None,
  NotFound,    // nothing there, or a folder on the way is missing
  NotRegular,  // a link, FIFO, device or folder
  Exists,      // exclusive creation or a non-replacing rename met a file
  NoSpace,     // the device (or the quota) is full
  TooLarge,    // longer than allowed
  InUse,       // another program holds the file open and shares no delete (Windows)
  Io,          // anything else: permissions, read or write errors
};

// A short reason text, e.g. "no space left on the device".
const char* FileErrorText(FileError error);

class File {
 public:
  enum class Mode {
    Read,              // read only; the file must exist
    WriteExisting,     // read and write; the file must exist
    CreateOrTruncate,  // read and write; made if missing, emptied if there
    CreateNew,         // read and write; exclusive: fails with Exists if anything is there
  };

  // permissions apply to a file that is made (less the umask); Windows only
  // knows whether the owner may write.
  static File Open(const std::string& hostPath, Mode mode, unsigned permissions = 0666);

  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const { return handle_ != kNoHandle; }
  // Why the last failed call failed.
  FileError Error() const { return error_; }
  // The same as a Windows error code (2 file not found, 3 path not found, 5 access denied, ...).
  uint32_t WindowsErrorCode() const;

  bool WriteAt(const void* data, size_t size, int64_t offset);  // all bytes or false
  bool Write(const void* data, size_t size);                    // at the current position, all bytes or false
  int64_t ReadAt(void* data, size_t size, int64_t offset);      // bytes read (fewer only at the end), -1 on error
  int64_t Read(void* data, size_t size);                        // from the current position; 0 at the end, -1 on error
  int64_t Length() const;                                       // -1 on error
  bool SetLength(int64_t size);
  // Sets the length and allocates the blocks, so later writes can't run out of
  // space; where the file system can't allocate ahead, sets the length only.
  // False with NoSpace on a full disk.
  bool Reserve(int64_t size);
  bool Sync();  // the data onto the disk
  bool SetModifiedTime(int64_t unixSeconds);
  void AdviseSequentialRead();  // a hint; reading works the same without it
  // Closes the file; false when the system reported a (delayed write) error.
  bool Close();

 private:
  static constexpr intptr_t kNoHandle = -1;
  explicit File(intptr_t handle) : handle_(handle) {}
  // Opens name in folder (a path; relative ones against the working folder when folder is null).
  static File OpenIn(const Folder* folder, const std::string& name, Mode mode, unsigned permissions);
  bool Fail(int systemError);
  friend class Folder;

  intptr_t handle_ = kNoHandle;
  FileError error_ = FileError::None;
  int systemError_ = 0;
};

// The whole file: regular only, not through a link, never blocking; nothing
// when it is absent, not regular, unreadable or longer than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& hostPath, size_t maxBytes);

// Writes bytes to a new temporary file beside hostPath (a unique name made by
// exclusive creation, never an existing file or link), flushes it to the disk,
// renames it over hostPath and flushes the folder, so readers see the old or
// the new file, never a part. On failure hostPath keeps its old content and the
// temporary file is removed. A new file gets permissions (less the umask).
bool ReplaceFileAtomically(const std::string& hostPath, std::string_view bytes, unsigned permissions = 0644);

// A new empty file beside hostPath under a unique name ("<hostPath><tag>-<random>"),
// made by exclusive creation; its host path goes to tempPath.
File CreateTemporaryBeside(const std::string& hostPath, const std::string& tag, std::string& tempPath,
                           unsigned permissions = 0644);

// Renames without ever replacing an existing target: Exists when it is taken.
FileError RenameNoReplace(const std::string& from, const std::string& to);
// Renames, replacing a file at to.
FileError RenameReplacing(const std::string& from, const std::string& to);

// The length of a regular file that is not a link; -1 for anything else.
int64_t RegularFileLength(const std::string& hostPath);
// Anything at all is there, a dangling link included.
bool PathExists(const std::string& hostPath);
// Removes a file or link (the link itself, never its target); not a folder.
bool RemovePath(const std::string& hostPath);
// Flushes a folder's entries (renames, new files) onto the disk.
bool SyncFolder(const std::string& hostDir);
// Creates hostDir and every missing parent (links on the way are followed), new
// folders with permissions less the umask. True when the folder exists afterwards;
// a folder that another process makes meanwhile is fine.
bool MakeFolders(const std::string& hostDir, unsigned permissions = 0777);

}  // namespace platform
