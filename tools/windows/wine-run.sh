#!/bin/bash
# Runs a Windows program under Wine in a private prefix, made once per build folder.
#
# Usage: wine-run.sh PROGRAM [ARGS...]
#   OSTREL_WINEPREFIX  the prefix folder (default: build-win32/wineprefix beside this script's
#                      project); made on first use (about 15 s), then reused
#   OSTREL_WINE_LOCALE the locale the program sees (default zh_CN.UTF-8: code page 936;
#                      en_US.UTF-8 gives code page 1252)
# A new prefix has drive Z: mapped to "/" as a fixed drive, which no real Windows has: it is
# removed, so programs see drive C: only. The exit code is the program's.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${OSTREL_WINEPREFIX:-$here/build-win32/wineprefix}
export LC_ALL=${OSTREL_WINE_LOCALE:-zh_CN.UTF-8}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -e "$WINEPREFIX/.ostrel-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -e "$WINEPREFIX/.ostrel-ready" ]; then
      wineboot -i >/dev/null 2>&1
      wineserver -w
      rm -f "$WINEPREFIX/dosdevices/z:"
      touch "$WINEPREFIX/.ostrel-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
