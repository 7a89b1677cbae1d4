#!/bin/bash
# Runs a Windows program that opens windows under Wine on a private virtual display, then ends
# the prefix's Wine processes: Wine's desktop process stays bound to the display it first met, so
# the next run (on a display of its own) must find none left. Give such programs a prefix of
# their own, used by one run at a time.
#
# Usage: wine-window-run.sh PROGRAM [ARGS...]   (environment as for wine-run.sh)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/../with-xvfb.sh" "$here/wine-run.sh" "$@"
status=$?
WINEPREFIX=${OSTREL_WINEPREFIX:?} wineserver -k 2>/dev/null
exit "$status"
