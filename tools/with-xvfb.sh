#!/bin/sh
# with-xvfb.sh COMMAND [ARG...]: runs COMMAND on a private virtual display (Xvfb, 1024 x 768,
# no TCP), then stops the display. Exit status: the command's; 77 when Xvfb is missing.
set -u
command -v Xvfb >/dev/null || { echo "with-xvfb: Xvfb is not installed (tools/setup.sh installs xvfb)" >&2; exit 77; }
number=99
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT INT TERM
tries=0
until [ -e "/tmp/.X11-unix/X$number" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then echo "with-xvfb: Xvfb did not start" >&2; exit 1; fi
  sleep 0.05
done
DISPLAY=":$number" "$@"
