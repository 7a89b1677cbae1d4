#!/bin/bash
# One whole install clicked through on a private virtual display, as a person would, with either
# host of the window (COMMAND starts the Linux program or InstKeloPro.exe under Wine): "极速安装",
# "立即安装", the installing page, the done page and its close cross (which registers the
# platform). Leaves in OUTDIR a shot of each page (AZ.png, SZ.png, XZ.png, WC.png; box.png or
# stuck.png where the walk stopped), the installer's output (installer.log) and walk.txt: the
# steps and the figures (start to the first painted page, "立即安装" to the done page, the peak
# memory of the installer's process).
#
# Usage: walk-install.sh OUTDIR LINUX_BUILD COMMAND...
#   LINUX_BUILD has ostrel-pagecheck and ostrel-screens (whose pictures tell the pages apart).
# Exit 0 when the walk reached its end and the installer ended with exit code 0.
set -uo pipefail
[[ $# -ge 3 ]] || { echo "usage: walk-install.sh OUTDIR LINUX_BUILD COMMAND..." >&2; exit 2; }
out=$(realpath -m "$1")
linux=$(realpath "$2")
shift 2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/virtual-display.sh
source "$here/../virtual-display.sh"
# shellcheck source=tools/walk/window-driver.sh
source "$here/window-driver.sh"
# shellcheck source=tools/walk/walk-steps.sh
source "$here/walk-steps.sh"

mkdir -p "$out"
: >"$out/walk.txt"
DRIVER_OUT=$out
DRIVER_PAGECHECK=$linux/tools/pagecheck/ostrel-pagecheck
DRIVER_REFS=$out/.screens
# The pictures of the pages, with the version the servers give (its own prefix: nothing is shared).
OSTREL_PREFIX=$out/.screens-prefix "$linux/tools/screens/ostrel-screens" "$DRIVER_REFS" >/dev/null || exit 1
display_start "$out/.display" || exit 1
trap display_stop EXIT

status=0
walk_whole 300 "$@" || { status=1; walk_give_up; }
rm -f "$out/.now.png"
exit $status
