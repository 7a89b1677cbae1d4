// The prefix: a folder laid out like a Wine prefix that stands in for the
// Windows machine (drive C:, the drive table, the Windows folder, the registry).
//
//   <prefix>/drive_c/                 drive C:
//   <prefix>/dosdevices/c: -> ../drive_c
//   <prefix>/dosdevices/z: -> /       the host file system, a network drive
//   <prefix>/system.reg, user.reg     HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER
#pragma once

#include <string>

namespace platform::posix {

inline constexpr char kWindowsDirText[] = "C:\\Windows";
inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Creates and seeds the prefix dir when it is new: drive_c, the c: and z: links,
// C:\Windows, the user's desktop folder and the HKCU "Shell Folders" value
// "Desktop" naming it. Later calls only check a marker file. Safe when several
// processes do it at once. False when the prefix can't be made.
bool SeedPrefix(const std::string& dir);

// The prefix in use, seeded (InitPrefix on first use). Only the first call does
// any work, unless the prefix couldn't be made: then each call tries again.
bool EnsurePrefix();

// "C:\users\<user>\Desktop" for the account running the process.
std::string DesktopFolderText();

// An exclusive advisory lock on a file in the prefix, held for the object's life.
class PrefixLock {
 public:
  explicit PrefixLock(const std::string& name);  // in the prefix in use
  PrefixLock(const std::string& prefixDir, const std::string& name);
  ~PrefixLock();
  PrefixLock(const PrefixLock&) = delete;
  PrefixLock& operator=(const PrefixLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace platform::posix
