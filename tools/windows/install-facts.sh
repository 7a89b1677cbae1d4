#!/bin/bash
# What an install under Wine left, read from outside the installer, into OUTDIR:
#   registry.txt  the uninstall entry and the application path in HKEY_LOCAL_MACHINE's 32-bit
#                 view as `wine reg query` prints them (its code page 936 text as UTF-8)
#   shortcut.txt  lnkinfo's facts of the desktop shortcut OstrelPro.lnk
#   files.txt     the installed files below C:\Program Files\Ostrel, with their sizes
#
# Usage: install-facts.sh PREFIX OUTDIR
set -uo pipefail
prefix=$(realpath -m "$1")
out=$2
here=$(cd "$(dirname "$0")" && pwd)
export OSTREL_WINEPREFIX=$prefix OSTREL_WINE_LOCALE=zh_CN.UTF-8
mkdir -p "$out"

# HKEY_LOCAL_MACHINE as a 32-bit program sees it: under Wow6432Node in a 64-bit prefix.
view='HKLM\Software'
[[ -d $prefix/drive_c/windows/syswow64 ]] && view='HKLM\Software\Wow6432Node'
for key in Uninstall 'App Paths'; do
  (cd "$prefix/drive_c" && "$here/wine-run.sh" reg query "$view\\Microsoft\\Windows\\CurrentVersion\\$key\\OstrelNorvik" 2>&1) |
    iconv -f GBK -t UTF-8 | tr -d '\r' | sed '/^$/d'
done >"$out/registry.txt"

desktop=$( (cd "$prefix/drive_c" && "$here/wine-run.sh" reg query \
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Desktop 2>/dev/null) |
  iconv -f GBK -t UTF-8 | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
link=$prefix/drive_c/$(sed 's/^[Cc]:\\//; s/\\/\//g' <<<"$desktop")/OstrelPro.lnk
if [[ ! -e $link ]]; then
  echo "no shortcut at $desktop\\OstrelPro.lnk" >"$out/shortcut.txt"
elif command -v lnkinfo >/dev/null; then
  lnkinfo "$link" >"$out/shortcut.txt" 2>&1
else
  echo "lnkinfo is missing (liblnk-utils); the shortcut is $link" >"$out/shortcut.txt"
fi

if [[ -d "$prefix/drive_c/Program Files/Ostrel" ]]; then
  (cd "$prefix/drive_c/Program Files" && find Ostrel -type f -printf '%10s  %p\n' | sort -k2) >"$out/files.txt"
else
  echo "nothing installed below C:\Program Files\Ostrel" >"$out/files.txt"
fi
