#!/bin/sh
# with-xvfb.sh COMMAND [ARG...]: runs COMMAND on a private virtual display (Xvfb, 1024 x 768,
# no TCP), then stops the display. Xvfb picks a free display number itself (-displayfd), so
# that runs started at the same moment never share one. Exit status: the command's; 77 when
# Xvfb is missing.
set -u
command -v Xvfb >/dev/null || { echo "with-xvfb: Xvfb is not installed (tools/setup.sh installs xvfb)" >&2; exit 77; }
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$dir"' EXIT INT TERM
tries=0
until grep -q '^[0-9][0-9]*$' "$dir/display" 2>/dev/null; do
  tries=$((tries + 1))
  if [ $tries -gt 200 ] || ! kill -0 "$xvfb" 2>/dev/null; then echo "with-xvfb: Xvfb did not start" >&2; exit 1; fi
  sleep 0.05
done
DISPLAY=":$(cat "$dir/display")" "$@"
