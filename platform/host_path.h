// Maps the Windows path texts the installer works with onto host paths, and back.
//
// A text that starts with a drive ("C:\..." or "c:/...") is resolved through the
// prefix's dosdevices folder, so "D:\Pkg\a.zip" becomes
// "<prefix>/dosdevices/d:/Pkg/a.zip". Any other text is a host path already and
// comes back with its backslashes turned into slashes only when it has no slash.
// A text rooted on the current drive ("\OstrelPro.lnk", no slash in it) is taken
// on drive C:, the current drive of every process here.
//
// The prefix is found and seeded once, by InitPrefix at program start (or by the
// first call that needs it); afterwards the mapping touches neither the file
// system nor the environment, so it may run for every key the user types.
#pragma once

#include <string>

namespace platform {

// Finds the prefix ($OSTREL_PREFIX, else ${XDG_DATA_HOME:-$HOME/.local/share}/ostrel/prefix),
// keeps it for every later mapping, and creates and seeds it when it is new.
// Safe from any thread and any number of times; a later call only does work when
// the environment names another prefix. False when the prefix can't be made.
bool InitPrefix();

// Drops the kept prefix: the next call that needs it finds it again (tests that
// switch between prefixes).
void ForgetPrefix();

// The prefix folder (found on first use).
std::string PrefixDir();

// True for a text of the form "X:" followed by "\" or "/" or nothing.
bool HasDriveLetter(const std::string& path);

// True for "\x..." without any "/": the root of the current drive (not "\\server").
bool IsCurrentDriveRooted(const std::string& path);

// The position of a host path's last separator ('/', and '\\' on Windows); npos for a bare name.
size_t LastHostSeparator(const std::string& hostPath);

// Host path for a Windows path text (see above).
std::string HostPath(const std::string& path);

// The Windows path text of a host path: "C:\..." inside drive C: (or any other
// drive of the prefix), "Z:\..." for anything else on the host; a drive's own
// folder gives its root ("D:\"). A Windows path text comes back as it is; a
// relative host path is taken from the working folder.
std::string WindowsPath(const std::string& hostPath);

// The running program's file as a host path and as a Windows path text; empty
// when the system can't tell.
std::string ExecutablePath();
std::string ExecutableWindowsPath();

}  // namespace platform
