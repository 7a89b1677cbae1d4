#!/bin/bash
# The installer against local demo servers: builds what it needs, writes the demo site (manifest,
# package, base service, drivers), serves it with a private nginx on 127.0.0.1 as the download
# server, the web server and its port-8080 base (tools/demo-servers.sh, stopped when the demo
# ends), and runs the installer pointed at them:
#   tools/demo.sh             the Linux program in a fresh prefix, build/demo/prefix
#   tools/demo.sh --windows   InstKeloPro.exe under Wine in a private prefix, build/demo/wineprefix
#                             (drive Z: removed, kept between runs; what an earlier install left
#                             is removed first), built in build-win32 where Wine runs 32-bit
#                             programs, else as the x86_64 build in build-win64
#                             (OSTREL_WIN_BUILD names another build folder)
# With a display the installer opens in a window: install, then close it. Without one (or with
# OSTREL_DEMO_WALK=1) it is clicked through on a private Xvfb display (tools/walk/walk-install.sh:
# a shot of each page, walk.txt with the steps and figures). Either way the results' folder,
# build/demo/results (results-windows), receives the registry values, the shortcut's facts and
# the installed files (tools/walk/install-facts.sh). Everything stays under build/demo (or
# $BUILD_DIR/demo).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
absolute() { case $1 in /*) echo "$1" ;; *) echo "$ROOT/$1" ;; esac; }
BUILD_DIR=$(absolute "${BUILD_DIR:-build}")
DEMO=$BUILD_DIR/demo
windows=
[[ ${1:-} == --windows ]] && windows=1

cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
if [[ -n $windows ]]; then
  cmake --build "$BUILD_DIR" --target ostrel-demosite ostrel-screens ostrel-pagecheck
  source tools/windows/wine-loader.sh
  WIN_BUILD=$(absolute "${OSTREL_WIN_BUILD:-$(wine_build "$ROOT")}")
  export OSTREL_WINE_ARCH
  OSTREL_WINE_ARCH=$(wine_arch "$WIN_BUILD")
  triple=i686-w64-mingw32
  [[ $OSTREL_WINE_ARCH == win64 ]] && triple=x86_64-w64-mingw32
  OSTREL_LINUX_BUILD=$BUILD_DIR tools/build-windows.sh "$WIN_BUILD" "$triple"
  exe=$WIN_BUILD/app/win32/InstKeloPro.exe
  [[ -f $exe ]] || { echo "demo: $exe was not built" >&2; exit 1; }
  PREFIX=$DEMO/wineprefix RESULTS=$DEMO/results-windows
  installer=(tools/windows/run-installer.sh "$PREFIX")
else
  cmake --build "$BUILD_DIR" --target InstKeloPro ostrel-demosite ostrel-screens ostrel-pagecheck
  PREFIX=$DEMO/prefix RESULTS=$DEMO/results
  installer=("$BUILD_DIR/app/InstKeloPro" UAC)
fi

rm -rf "$RESULTS"
mkdir -p "$RESULTS"
mkdir -p "$DEMO/site"
"$BUILD_DIR/tools/demosite/ostrel-demosite" "$DEMO/site" >"$DEMO/site.txt"
sed 's/^/demo site: /' "$DEMO/site.txt"
tools/demo-servers.sh stop "$DEMO/site" >/dev/null 2>&1 || true
eval "$(tools/demo-servers.sh start "$DEMO/site")"
trap 'tools/demo-servers.sh stop "$DEMO/site" >/dev/null 2>&1 || true' EXIT
trap 'exit 130' INT TERM
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
echo "servers: download $OSTREL_DOWNLOAD_SERVER, web $OSTREL_WEB_SERVER, base service fallback $OSTREL_WEB_SERVER_ALT"
if [[ -n $windows ]]; then
  echo "demo: preparing the Wine prefix $PREFIX (the first time takes about half a minute) ..."
  tools/windows/install-prefix.sh "$PREFIX" "$exe"
else
  rm -rf "$PREFIX"  # a fresh install every time: a new prefix (drives, registry, desktop)
  export OSTREL_PREFIX=$PREFIX
fi

status=0
if [[ -n ${DISPLAY:-} && ${OSTREL_DEMO_WALK:-} != 1 ]]; then
  echo "demo: the installer opens in a window; install, then close it"
  "${installer[@]}" || status=$?
else
  echo "demo: no display; the installer is clicked through under Xvfb ..."
  tools/walk/walk-install.sh "$RESULTS" "$BUILD_DIR" "${installer[@]}" || status=$?
  cat "$RESULTS/walk.txt"
fi
tools/walk/install-facts.sh "$PREFIX" "$RESULTS"
echo
echo "registry (HKEY_LOCAL_MACHINE):"
sed 's/^/  /' "$RESULTS/registry.txt"
echo "shortcut (lnkinfo):"
grep -E "Description|Local path|Working directory" "$RESULTS/shortcut.txt" | sed 's/^ */  /' || true
echo "installed: $(wc -l <"$RESULTS/files.txt") files (files.txt)"
echo
if [[ $status == 0 ]]; then echo "demo: OK. Results in $RESULTS:"; else echo "demo: the install did not reach its end (exit $status). Results so far in $RESULTS:"; fi
ls "$RESULTS"
echo "the prefix (drive C:, registry, desktop): $PREFIX"
exit "$status"
