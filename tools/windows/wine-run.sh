#!/bin/bash
# Runs a Windows program under Wine in a private prefix, made once per build folder.
#
# Usage: wine-run.sh PROGRAM [ARGS...]
#   OSTREL_WINEPREFIX  the prefix folder (default: build-win32/wineprefix beside this script's
#                      project); made on first use (about 15 s), then reused
#   OSTREL_WINE_ARCH   win32 (32-bit programs, the default) or win64 (the x86_64 build's
#                      programs: a 64-bit prefix on Wine's 64-bit loader); a prefix that is
#                      there already keeps the architecture it was made with
#   OSTREL_WINE_LOCALE the locale the program sees (default zh_CN.UTF-8: code page 936;
#                      en_US.UTF-8 gives code page 1252)
# A new prefix has drive Z: mapped to "/" as a fixed drive, which no real Windows has: it is
# removed, so programs see drive C: only. The exit code is the program's.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tools/windows/wine-loader.sh"
export WINEPREFIX=${OSTREL_WINEPREFIX:-$here/build-win32/wineprefix}
export LC_ALL=${OSTREL_WINE_LOCALE:-zh_CN.UTF-8}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# The programs' architecture: what the prefix was made for (.ostrel-ready holds it; empty in a
# prefix made before there were two), or what is asked for a new one.
made=
if [[ -e $WINEPREFIX/.ostrel-ready ]]; then
  made=$(cat "$WINEPREFIX/.ostrel-ready")
  made=${made:-win32}
fi
arch=${OSTREL_WINE_ARCH:-${made:-win32}}
if [[ -n $made && $made != "$arch" ]]; then
  echo "wine-run: $WINEPREFIX was made for $made programs, not $arch: remove it to have it made again" >&2
  exit 125
fi
if [[ $arch == win32 ]]; then
  wine=(wine)  # Debian's wine picks the 32-bit loader
else
  loader=$(wine_loader "$arch") || { echo "wine-run: no Wine for $arch programs" >&2; exit 125; }
  # Wine starts the prefix's other processes with WINELOADER.
  export WINELOADER=$loader
  wine=("$loader")
fi

if [[ ! -e $WINEPREFIX/.ostrel-ready ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -e $WINEPREFIX/.ostrel-ready ]]; then
      if [[ $arch == win64 ]]; then export WINEARCH=win64; fi
      "${wine[@]}" wineboot -i >/dev/null 2>&1
      wineserver -w
      rm -f "$WINEPREFIX/dosdevices/z:"
      echo "$arch" >"$WINEPREFIX/.ostrel-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec "${wine[@]}" "$@"
