#!/bin/bash
# tools/demo.sh --windows: the Windows program, InstKeloPro.exe, under Wine against the same
# local demo servers (nginx on 127.0.0.1) as the Linux demo. Builds the Windows program
# (tools/build-windows.sh) and the Linux tools for the demo site, then runs the installer in
# a private Wine prefix (build/demo/wineprefix, drive Z: removed, kept between runs; what an
# earlier install left is removed first).
#   - With a display: the installer opens in a window; install, then close it.
#   - Without one: under Xvfb it is clicked through to the done page and its close cross.
# Either way build/demo/results-windows/ ends up with the registry values, the shortcut's
# facts and the installed files; the walk adds a shot of each page and its figures.
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
absolute() { case $1 in /*) echo "$1" ;; *) echo "$ROOT/$1" ;; esac; }
BUILD_DIR=$(absolute "${BUILD_DIR:-build}")
WIN_BUILD=$(absolute "${OSTREL_WIN_BUILD:-build-win32}")
DEMO=$BUILD_DIR/demo
PREFIX=$DEMO/wineprefix
RESULTS=$DEMO/results-windows

cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target ostrel-demosite ostrel-screens ostrel-pagecheck
OSTREL_LINUX_BUILD=$BUILD_DIR tools/build-windows.sh "$WIN_BUILD"
exe=$WIN_BUILD/app/win32/InstKeloPro.exe
[[ -f $exe ]] || { echo "demo: $exe was not built" >&2; exit 1; }

rm -rf "$RESULTS"
mkdir -p "$RESULTS"
source tools/demo-site.sh
demo_site_served "$BUILD_DIR" "$DEMO"

echo "demo: preparing the Wine prefix $PREFIX (the first time takes about half a minute) ..."
tools/windows/install-prefix.sh "$PREFIX" "$exe"
status=0
if [[ -n ${DISPLAY:-} && ${OSTREL_DEMO_WALK:-} != 1 ]]; then
  echo "demo: InstKeloPro.exe opens in a window; install, then close it"
  tools/windows/run-installer.sh "$PREFIX" || status=$?
else
  echo "demo: no display; InstKeloPro.exe is clicked through under Xvfb ..."
  tools/windows/walk-install.sh "$RESULTS" "$BUILD_DIR" tools/windows/run-installer.sh "$PREFIX" || status=$?
  cat "$RESULTS/walk.txt"
fi
tools/windows/install-facts.sh "$PREFIX" "$RESULTS"
echo
echo "registry (HKEY_LOCAL_MACHINE, 32-bit view):"
sed 's/^/  /' "$RESULTS/registry.txt"
echo "shortcut (lnkinfo):"
grep -E "Description|Local path|Working directory" "$RESULTS/shortcut.txt" | sed 's/^ */  /' || true
echo "installed: $(wc -l <"$RESULTS/files.txt") files (files.txt)"
echo
if [[ $status == 0 ]]; then echo "demo: OK. Results in $RESULTS:"; else echo "demo: the install did not reach its end (exit $status). Results so far in $RESULTS:"; fi
ls "$RESULTS"
echo "the prefix (drive C:, registry, desktop): $PREFIX"
exit "$status"
