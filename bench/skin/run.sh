#!/bin/bash
# The window's model and loader: the show handler, paint times per page, a frame of the start
# page's animation and a button state change; then the installer window's peak resident memory
# on its start page beside a bare Qt window of the same size, run the same way (on a private
# Xvfb display when Xvfb is installed, else on the offscreen platform).
#   bench/skin/run.sh [RUNS]      (BUILD_DIR=build by default)
set -e
# shellcheck source=bench/common.sh
source "$(dirname "$0")/../common.sh"
build ostrel-skin-bench ostrel-window-memory
"$BUILD_DIR/tools/screens/ostrel-skin-bench" "$@"
run_window() {
  if command -v Xvfb >/dev/null; then tools/with-xvfb.sh "$@"; else QT_QPA_PLATFORM=offscreen "$@"; fi
}
for mode in bare window; do
  run_window "$BUILD_DIR/tools/screens/ostrel-window-memory" "$mode" 3 2>/dev/null
done
