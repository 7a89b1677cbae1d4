#!/bin/bash
# A Wine prefix ready for a fresh install of the platform, kept between runs: made on first
# use (by wine-run.sh, drive Z: removed); the user's folders that Wine links to the Linux home
# (Desktop and the like) become folders of the prefix, so that the desktop shortcut stays in
# it; what an earlier install left is removed: the platform and staging folders, the two
# registry keys in both views, the desktop shortcut. The installer is put into C:\ostrel-setup\
# (as a download would be), where run-installer.sh starts it.
#
# Usage: install-prefix.sh PREFIX INSTALLER_EXE
set -euo pipefail
export OSTREL_WINEPREFIX=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-run.sh" cmd /c exit >/dev/null 2>&1
users=$OSTREL_WINEPREFIX/drive_c/users
for link in "$users"/*/*; do
  if [[ -L $link ]]; then rm "$link" && mkdir "$link"; fi
done
rm -rf "$OSTREL_WINEPREFIX/drive_c/Program Files/Ostrel" "$OSTREL_WINEPREFIX/drive_c/Program Files (x86)/Ostrel"
rm -f "$users"/*/Desktop/OstrelPro.lnk
for view in Software Software\\Wow6432Node; do
  for key in Uninstall App\ Paths; do
    "$here/wine-run.sh" reg delete "HKLM\\$view\\Microsoft\\Windows\\CurrentVersion\\$key\\OstrelNorvik" /f \
      >/dev/null 2>&1 || true
  done
done
mkdir -p "$OSTREL_WINEPREFIX/drive_c/ostrel-setup"
cp "$2" "$OSTREL_WINEPREFIX/drive_c/ostrel-setup/InstKeloPro.exe"
# Wine's desktop process of these steps knows no display; the installer's must find a new one.
WINEPREFIX=$OSTREL_WINEPREFIX wineserver -w
