#!/bin/sh
# Builds everything and runs every test: the Linux build, then the 32-bit Windows build with its
# test programs under Wine. BUILD_DIR (default build/), WIN_BUILD_DIR (default build-win32/) and
# OSTREL_SANITIZE may be set; OSTREL_WINDOWS=0 leaves the Windows build out (sanitizer runs do).
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
WIN_BUILD_DIR=${WIN_BUILD_DIR:-build-win32}
cmake -S . -B "$BUILD_DIR" -G Ninja -DOSTREL_SANITIZE="${OSTREL_SANITIZE:-}" >/dev/null
cmake --build "$BUILD_DIR"
# Leak checks leave out what system libraries under the window keep.
if [ "${OSTREL_SANITIZE:-}" = address ]; then
  LSAN_OPTIONS="suppressions=$(pwd)/tools/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
  export LSAN_OPTIONS
elif [ "${OSTREL_SANITIZE:-}" = thread ]; then
  TSAN_OPTIONS="suppressions=$(pwd)/tools/tsan.supp${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
  export TSAN_OPTIONS
fi
windows=
if [ -z "${OSTREL_SANITIZE:-}" ] && [ "${OSTREL_WINDOWS:-1}" != 0 ]; then
  missing=
  command -v i686-w64-mingw32-g++-posix >/dev/null || missing="$missing the i686 cross compiler,"
  command -v wine >/dev/null && dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed' ||
    missing="$missing Wine (wine32),"
  if [ -z "$missing" ]; then
    windows=1
  else
    echo "test: THE WINDOWS BUILD IS LEFT OUT: missing${missing%,} (tools/setup.sh installs them)" >&2
  fi
fi
# The Windows build compiles every unit for real: the mingw-w64 syntax check is then left out.
skip=
if [ -n "$windows" ]; then skip=WindowsSyntaxCheck; fi
# The tests talk to their servers on 127.0.0.1 straight; the proxy tests set their own variables.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
status=0
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout 300 ${skip:+-E "^$skip\$"} || status=$?

if [ -n "$windows" ]; then
  OSTREL_LINUX_BUILD=$(realpath "$BUILD_DIR") tools/build-windows.sh "$WIN_BUILD_DIR"
  ctest --test-dir "$WIN_BUILD_DIR" --output-on-failure -j2 --timeout 600 || status=$?
fi
exit "$status"
