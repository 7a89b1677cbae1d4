// Small operations of the installer on the surrounding system: folders and
// drives, INI files, the registry, a single-request HTTP download into a file,
// the desktop shortcut and the elevated relaunch.
//
// Each is a free function without state between calls that reports failure by
// an empty or false result instead of an error, called from the user-interface
// thread. Path texts are Windows texts ("D:\Program Files\..."); the platform
// layer maps them onto the host.
#pragma once

#include <string>

#include "platform/drives.h"
#include "platform/registry.h"
#include "platform/shell_execute.h"
#include "support/SingleDownload.h"

// Root keys for ReadRegString / WriteRegString; 0 also means HKEY_LOCAL_MACHINE.
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::RootKey;

// The text with blanks and control characters trimmed at both ends and, if
// anything is left, a "\" appended unless it already ends with one.
std::string NormalizeDir(const std::string& dir);

// The Windows folder with a trailing "\" ("C:\Windows\"); empty on failure.
std::string GetWindowsDir();

// The drive root ("E:\") on which the installer proposes its folders: the
// first of A: to Z: that is a fixed drive, isn't the drive of windowsDir
// (compared without regard to case) and has at least 1 GiB free; else the
// first three characters of windowsDir.
std::string ChooseInstallDrive(const std::string& windowsDir, const platform::DriveQuery& drives);
// ChooseInstallDrive over the machine's drives and GetWindowsDir.
std::string GetInstallDrive();

// The value of key in section of the INI file, at most 2047 characters; the
// empty text when the file, section or key is missing. Never creates the file.
std::string ReadIniString(const std::string& section, const std::string& key, const std::string& iniFile);

// One HTTP GET of url into fileName, as FetchToFile (SingleDownload.h) does it: true only when
// the checked body was saved under that name; an old file of that name is gone in any case
// (unless the URL is blank, which changes nothing). With reportProgress, the events of progress
// are sent during the call. options bound the call (by default: no data for 3000 ms ends it).
bool DownloadToFile(const std::string& url, const std::string& fileName, bool reportProgress,
                    const DownloadProgressHandlers& progress = {}, const DownloadOptions& options = {});

// Makes the desktop shortcut "OstrelPro.lnk" to installDir + "\OstrelLauncher.exe",
// working folder installDir + "\", description "Tarnwell", in the folder that the
// current user's "Shell Folders" value "Desktop" names (the root of the current
// drive when the value is missing). The installer passes its shared InstallDir.
// Throws std::runtime_error only when no shell link object can be had.
void CreateDesktopShortcut(const std::string& installDir);
// The path text of that shortcut: "OstrelPro.lnk" in the folder that "Desktop" names.
std::string DesktopShortcutFile();

// A string value under root (0 = HKEY_LOCAL_MACHINE); the empty text when the
// key or value is missing or the value isn't a string.
std::string ReadRegString(const std::string& keyPath, const std::string& valueName, RootKey root = 0);

// Writes a string value under root (0 = HKEY_LOCAL_MACHINE), creating the key
// and its parents; the empty name sets the key's default value. Failures are silent.
void WriteRegString(const std::string& keyPath, const std::string& valueName, const std::string& value,
                    RootKey root = 0);

// Hands file with the parameters text to the shell with the verb "runas" and
// returns at once, without waiting for the program or looking at the outcome.
void RunAsAdmin(platform::WindowHandle parent, const std::string& file, const std::string& params);
