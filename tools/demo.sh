#!/bin/sh
# The installer against local demo servers, from a fresh prefix: builds everything, writes the
# demo site (manifest, package, base service, drivers), serves it with a private nginx on
# 127.0.0.1 as the download server, the web server and its port-8080 base, and runs the
# installer pointed at them.
#   - With a display: InstKeloPro in a real window; install it yourself.
#   - Without one: under Xvfb the installer walks its pages by itself, saving a screenshot of
#     each page, the registry values it wrote and the desktop shortcut's facts.
# Everything stays under build/demo (or $BUILD_DIR/demo); the results' folder is printed at the end.
# `tools/demo.sh --windows` does the same with the Windows program under Wine (tools/windows/demo-windows.sh).
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" = --windows ]; then exec tools/windows/demo-windows.sh; fi
ROOT=$(pwd)
BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
DEMO=$BUILD_DIR/demo
PREFIX=$DEMO/prefix
RESULTS=$DEMO/results

cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target InstKeloPro ostrel-demosite ostrel-demo-walk

# A fresh install every time: a new prefix (drives, registry, desktop) and no old results.
rm -rf "$PREFIX" "$RESULTS"
mkdir -p "$RESULTS"
. tools/demo-site.sh
demo_site_served "$BUILD_DIR" "$DEMO"
export OSTREL_PREFIX="$PREFIX"

if [ -n "${DISPLAY:-}" ] && [ "${OSTREL_DEMO_WALK:-}" != 1 ]; then
  echo "demo: the installer opens in a window; install, then close it (prefix: $PREFIX)"
  "$BUILD_DIR/app/InstKeloPro" UAC
  echo "demo: installed files, registry (system.reg) and desktop are under $PREFIX"
  exit 0
fi

echo "demo: no display; the installer walks its pages by itself under Xvfb ..."
status=0
tools/with-xvfb.sh "$BUILD_DIR/tools/demowalk/ostrel-demo-walk" "$RESULTS" || status=$?

link=$(sed -n 's/^shortcut: //p' "$RESULTS/walk.txt" 2>/dev/null || true)
if [ -n "$link" ] && [ -f "$link" ] && command -v lnkinfo >/dev/null; then
  lnkinfo "$link" >"$RESULTS/shortcut.txt" 2>&1 || true
  echo "shortcut facts (lnkinfo):" >>"$RESULTS/walk.txt"
  grep -E "Description|Local path|Working directory" "$RESULTS/shortcut.txt" | sed 's/^/  /' >>"$RESULTS/walk.txt" || true
fi
cat "$RESULTS/walk.txt" 2>/dev/null || true
echo
if [ "$status" = 0 ]; then
  echo "demo: OK, the whole install ran. Results in $RESULTS:"
else
  echo "demo: the walk did not reach its end (exit $status). Results so far in $RESULTS:"
fi
ls "$RESULTS"
echo "installed platform, registry hives and desktop: $PREFIX"
exit "$status"
