#!/bin/bash
# InstKeloPro.exe under Wine on a virtual display, clicked through like a person would,
# against the demo site on local servers: a fresh install (files, components, registry,
# shortcut, each page against ostrel-screens' pictures), a second run that reuses the
# package, a run whose package download is cut and that ends through the single request, a
# close on the installing page and the run that resumes what it left.
# Prints "N passed, N failed"; exit 77 (skipped) where Wine or Xvfb is missing.
#
# Usage: whole_install.sh WIN_BUILD LINUX_BUILD INSTALLER_EXE
#   LINUX_BUILD gives the demo site, the test server, the page pictures and their comparison.
set -uo pipefail
for program in wine Xvfb; do
  command -v $program >/dev/null ||
    { echo "SKIPPED: $program is not installed (tools/setup-windows.sh installs Wine, tools/setup.sh Xvfb)"; exit 77; }
done
command -v xdotool >/dev/null || { echo "FAIL xdotool is missing (tools/setup.sh installs it)"; exit 1; }
win=$(realpath "$1")
linux=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
tools=$(cd "$here/../../tools" && pwd)
WORK=$win/whole-install
PREFIX=$win/wineprefix-install
SITE=$WORK/site
EXPECTED=$WORK/expected
PAGECHECK=$linux/tools/pagecheck/ostrel-pagecheck
PAGE_PIXELS_ALLOWED=${OSTREL_PAGE_PIXELS_ALLOWED:-0}
VERSION="V9.1 测试"
for tool in demosite/ostrel-demosite screens/ostrel-screens pagecheck/ostrel-pagecheck testserver/ostrel-testserver \
  unzip/ostrel-unzip; do
  [[ -x $linux/tools/$tool ]] || { echo "FAIL $linux/tools/$tool is missing: build the Linux build first"; exit 1; }
done
exe=$3
[[ -f $exe ]] || { echo "FAIL $exe is missing"; exit 1; }
# shellcheck source=tools/virtual-display.sh
source "$tools/virtual-display.sh"
# shellcheck source=tools/walk/window-driver.sh
source "$tools/walk/window-driver.sh"
# shellcheck source=tools/walk/walk-steps.sh
source "$tools/walk/walk-steps.sh"
# shellcheck source=tests/windows/install_checks.sh
source "$here/install_checks.sh"
# shellcheck source=tests/windows/install_runs.sh
source "$here/install_runs.sh"

rm -rf "$WORK" && mkdir -p "$WORK"
"$linux/tools/demosite/ostrel-demosite" "$SITE" --version "$VERSION" >/dev/null || exit 1
PACKAGE=$(basename "$(find "$SITE/download" -name '*.zip')")
"$linux/tools/unzip/ostrel-unzip" "$SITE/download/dlcpx/DOWN_CENTER/OSTREL/OSTREL/$PACKAGE" "$EXPECTED" >/dev/null || exit 1
cleanup() {
  display_stop
  "$tools/demo-servers.sh" stop "$SITE" >/dev/null 2>&1
  [[ -n ${SERVER_PID:-} ]] && kill "$SERVER_PID" 2>/dev/null
  WINEPREFIX=$PREFIX wineserver -k 2>/dev/null
}
trap cleanup EXIT
eval "$("$tools/demo-servers.sh" start "$SITE" 2>/dev/null)" || { echo "FAIL nginx did not start"; exit 1; }
NGINX_DOWNLOAD=$OSTREL_DOWNLOAD_SERVER NGINX_WEB=$OSTREL_WEB_SERVER NGINX_ALT=$OSTREL_WEB_SERVER_ALT
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
"$tools/windows/install-prefix.sh" "$PREFIX" "$exe" || { echo "FAIL the Wine prefix could not be made"; exit 1; }
display_start "$WORK/display" || exit 1
OSTREL_PREFIX=$WORK/screens-prefix "$linux/tools/screens/ostrel-screens" "$WORK/screens" >/dev/null || exit 1
DRIVER_PAGECHECK=$PAGECHECK DRIVER_REFS=$WORK/screens

# shellcheck source=tools/windows/checks.sh
source "$tools/windows/checks.sh"

check "a fresh install clicked through to the done page and its close" run_fresh
check "every package file byte-exact under $PLATFORM_DIR" package_installed
check "the base service and the three drivers" components_installed
check "the ten registry values (32-bit view)" registry_written "$FRESH/registry.txt" "$NGINX_WEB" "$VERSION" \
  "$FRESH_SINCE" "$FRESH_UNTIL"
check "the desktop shortcut's target and description" shortcut_made "$FRESH/shortcut.txt"
for page in AZ SZ XZ WC; do
  check "page $page has ostrel-screens' pictures at their places" page_like_screens $page "$FRESH/$page.png"
done
check "a second run reuses the package without asking for it" run_reuse
check "a cut package download ends through the single request" run_cut
check "a close on the installing page leaves resume files" run_close_installing lblClose31
check "the next run resumes them" run_resume
check "Alt+F4 on the installing page leaves resume files too" run_close_installing alt+F4
check "the next run resumes them" run_resume
checks_summary
