#!/bin/bash
# What a whole install left, read from outside the installer, into OUTDIR. PREFIX is the Linux
# program's prefix (OSTREL_PREFIX) or the Wine prefix of InstKeloPro.exe (made by wine-run.sh):
#   registry.txt  the uninstall entry and the application path in HKEY_LOCAL_MACHINE (under Wine
#                 its 32-bit view) as `reg query` prints them (Wine's code page 936 as UTF-8)
#   shortcut.txt  lnkinfo's facts of the desktop shortcut OstrelPro.lnk
#   files.txt     the installed files below C:\Program Files\Ostrel, with their sizes
#
# Usage: install-facts.sh PREFIX OUTDIR
set -uo pipefail
prefix=$(realpath -m "$1")
out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

# reg_query KEY: the values of KEY (HKLM\... or HKCU\...) as `reg query` prints them.
if [[ -e $prefix/.ostrel-ready ]]; then  # a Wine prefix: Wine's reg asks its registry server
  export OSTREL_WINEPREFIX=$prefix OSTREL_WINE_LOCALE=zh_CN.UTF-8
  reg_query() {
    (cd "$prefix/drive_c" && "$here/../windows/wine-run.sh" reg query "$1" 2>&1) | iconv -f GBK -t UTF-8 | tr -d '\r'
  }
else  # the Linux program's prefix: the hives are files in Wine's text format, read here
  reg_query() {
    local hive=$prefix/system.reg
    [[ $1 == HKCU* ]] && hive=$prefix/user.reg
    perl -CO -ne '
      BEGIN { ($root, $want) = split /\\/, shift, 2; $want = lc $want;
              $root = {HKLM => "HKEY_LOCAL_MACHINE", HKCU => "HKEY_CURRENT_USER"}->{$root} }
      sub text { my $s = shift; $s =~ s/\\(x[0-9a-fA-F]{1,4}|.)/length $1 > 1 ? chr hex substr $1, 1 : $1/ge; $s }
      s/\r?\n$//;
      if (/^\[(.*)\]/) { $in = lc text($1) eq $want; print "$root\\" . text($1) . "\n" if $in; next }
      printf "    %s    REG_SZ    %s\n", $1 eq "@" ? "(Default)" : text($2), text($3)
        if $in && /^(@|"((?:[^"\\]|\\.)*)")\s*=\s*"((?:[^"\\]|\\.)*)"$/' "$1" "$hive" 2>&1
  }
fi

view='HKLM\Software'
[[ -d $prefix/drive_c/windows/syswow64 ]] && view='HKLM\Software\Wow6432Node'  # a 32-bit program's view
for key in Uninstall 'App Paths'; do
  reg_query "$view\\Microsoft\\Windows\\CurrentVersion\\$key\\OstrelNorvik" | sed '/^$/d'
done >"$out/registry.txt"

desktop=$(reg_query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' |
  sed -n 's/^ *Desktop  *REG_SZ  *//p')
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
