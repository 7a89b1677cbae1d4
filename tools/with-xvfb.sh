#!/bin/bash
# with-xvfb.sh COMMAND [ARG...]: runs COMMAND on a private virtual display
# (tools/virtual-display.sh: Xvfb picks a free display number, so that runs started at the same
# moment never share one), then stops the display. Exit status: the command's; 77 when Xvfb is
# missing.
set -u
command -v Xvfb >/dev/null || { echo "with-xvfb: Xvfb is not installed (tools/setup.sh installs xvfb)" >&2; exit 77; }
# shellcheck source=tools/virtual-display.sh
source "$(dirname "$0")/virtual-display.sh"
dir=$(mktemp -d)
trap 'display_stop; rm -rf "$dir"' EXIT
trap 'exit 130' INT TERM
display_start "$dir" || exit 1
"$@"
