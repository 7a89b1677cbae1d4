#!/bin/bash
# Builds everything and runs every test: the Linux build, then the 32-bit Windows build with its
# test programs under Wine. BUILD_DIR (default build/), WIN_BUILD_DIR (default build-win32/),
# WIN64_BUILD_DIR (default build-win64/) and OSTREL_SANITIZE may be set; OSTREL_WINDOWS=0 leaves
# the Windows builds out (sanitizer runs do).
#
# Where Wine's 32-bit loader can't run (a kernel without 32-bit support: "Exec format error"),
# the 32-bit programs are still built, as they ship, and the same sources are built for x86_64
# (WIN64_BUILD_DIR) whose test programs run under Wine's 64-bit loader. Where no Wine runs at
# all, the 32-bit programs are built and their tests are left out. Either case is said on stderr.
set -e
cd "$(dirname "$0")/.."
source tools/windows/wine-loader.sh
BUILD_DIR=${BUILD_DIR:-build}
WIN_BUILD_DIR=${WIN_BUILD_DIR:-build-win32}
WIN64_BUILD_DIR=${WIN64_BUILD_DIR:-build-win64}
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

loud() { echo "test: $*" >&2; }
# What the Windows part does: build the 32-bit programs (win32), test them under Wine
# (test32), build and test the x86_64 ones instead (test64).
win32='' test32='' test64=''
if [ -z "${OSTREL_SANITIZE:-}" ] && [ "${OSTREL_WINDOWS:-1}" != 0 ]; then
  if ! command -v i686-w64-mingw32-g++-posix >/dev/null; then
    loud "THE WINDOWS BUILD IS LEFT OUT: the i686 cross compiler is missing (tools/setup.sh installs it)"
  else
    win32=1
    if why32=$(wine_loader win32 2>&1 >/dev/null); then
      test32=1
    elif ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
      loud "THE WINDOWS TESTS ARE LEFT OUT: 32-bit Wine can't run ($why32), and the x86_64 cross" \
        "compiler for the 64-bit test build is missing (tools/setup.sh installs it);" \
        "only the 32-bit programs are built ($WIN_BUILD_DIR)"
    elif why64=$(wine_loader win64 2>&1 >/dev/null); then
      test64=1
      loud "THE 32-BIT WINDOWS TESTS DO NOT RUN: 32-bit Wine can't run ($why32). The 32-bit" \
        "programs are built as they ship ($WIN_BUILD_DIR); the Windows tests run on the x86_64" \
        "build of the same sources ($WIN64_BUILD_DIR) under Wine's 64-bit loader"
    else
      loud "THE WINDOWS TESTS ARE LEFT OUT: no Wine runs here (32-bit: $why32; 64-bit: $why64);" \
        "only the 32-bit programs are built ($WIN_BUILD_DIR)"
    fi
  fi
fi
# The tests talk to their servers on 127.0.0.1 straight; the proxy tests set their own variables.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
status=0
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout 300 || status=$?

linux=$(realpath "$BUILD_DIR")
if [ -n "$test32" ]; then
  OSTREL_LINUX_BUILD=$linux tools/build-windows.sh "$WIN_BUILD_DIR"
elif [ -n "$win32" ]; then
  # No 32-bit test program can run here: only the programs that ship are built.
  OSTREL_WIN_TARGETS="InstKeloPro ostrel-fetch ostrel-crc ostrel-unzip" OSTREL_LINUX_BUILD=$linux \
    tools/build-windows.sh "$WIN_BUILD_DIR"
fi
if [ -n "$test32" ]; then
  ctest --test-dir "$WIN_BUILD_DIR" --output-on-failure -j2 --timeout 600 || status=$?
elif [ -n "$win32" ]; then
  # What needs no Wine: the programs as they ship.
  ctest --test-dir "$WIN_BUILD_DIR" --output-on-failure -L no_wine || status=$?
fi
if [ -n "$test64" ]; then
  OSTREL_SKIP_SETUP=1 OSTREL_LINUX_BUILD=$linux tools/build-windows.sh "$WIN64_BUILD_DIR" x86_64-w64-mingw32
  ctest --test-dir "$WIN64_BUILD_DIR" --output-on-failure -j2 --timeout 600 || status=$?
  loud "the Windows tests above ran on the x86_64 build ($WIN64_BUILD_DIR) under Wine's 64-bit" \
    "loader; the 32-bit ones did not run: 32-bit Wine can't run ($why32)"
elif [ -n "$win32" ] && [ -z "$test32" ]; then
  loud "the Windows tests under Wine did not run (see above); the 32-bit programs are built in" \
    "$WIN_BUILD_DIR and checked as they ship"
fi
exit "$status"
