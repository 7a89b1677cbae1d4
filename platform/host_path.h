// Maps the Windows path texts the installer works with onto host paths.
//
// A text that starts with a drive ("C:\..." or "c:/...") is resolved through the
// prefix's dosdevices folder, so "D:\Pkg\a.zip" becomes
// "<prefix>/dosdevices/d:/Pkg/a.zip". Any other text is a host path already and
// comes back with its backslashes turned into slashes only when it has no slash.
// A text rooted on the current drive ("\OstrelPro.lnk", no slash in it) is taken
// on drive C:, the current drive of every process here.
#pragma once

#include <string>

namespace platform {

// The prefix folder: $OSTREL_PREFIX, else ${XDG_DATA_HOME:-$HOME/.local/share}/ostrel/prefix.
std::string PrefixDir();

// True for a text of the form "X:" followed by "\" or "/" or nothing.
bool HasDriveLetter(const std::string& path);

// True for "\x..." without any "/": the root of the current drive (not "\\server").
bool IsCurrentDriveRooted(const std::string& path);

// Host path for a Windows path text (see above).
std::string HostPath(const std::string& path);

}  // namespace platform
