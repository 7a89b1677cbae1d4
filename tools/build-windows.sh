#!/bin/bash
# Builds the Windows programs and their test programs into BUILD_DIR with a mingw-w64 cross
# compiler: for TRIPLE i686-w64-mingw32 (the default: the 32-bit programs as they ship, in
# build-win32/) or x86_64-w64-mingw32 (the same sources for 64-bit Windows, in build-win64/, for
# the tests where a 32-bit Wine can't run). Installs what it needs (tools/setup-windows.sh),
# builds the libraries once into BUILD_DIR/deps, then configures and builds the project. Run the
# tests under Wine afterwards with `ctest --test-dir BUILD_DIR`; the comparison of the
# command-line tools with the Linux ones needs the Linux build's tools (OSTREL_LINUX_BUILD,
# default build/).
#
# Usage: tools/build-windows.sh [BUILD_DIR [TRIPLE]]
set -euo pipefail
cd "$(dirname "$0")/.."
triple=${2:-i686-w64-mingw32}
case $triple in
  i686-w64-mingw32) default_build=build-win32 ;;
  x86_64-w64-mingw32) default_build=build-win64 ;;
  *) echo "build-windows: no toolchain for $triple (i686-w64-mingw32 or x86_64-w64-mingw32)" >&2; exit 2 ;;
esac
build=$(realpath -m "${1:-$default_build}")
toolchain=$PWD/tools/cmake/$triple.cmake

# The programs build without Wine: setup's failure to install it is the tests' to report.
if [ -z "${OSTREL_SKIP_SETUP:-}" ]; then tools/setup-windows.sh || true; fi
command -v "$triple-g++-posix" >/dev/null ||
  { echo "build-windows: $triple-g++-posix is missing (tools/setup-windows.sh installs it)" >&2; exit 1; }
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

start=$(date +%s)
CCACHE=$(command -v ccache || true) tools/windows/build-deps.sh "$build/deps" "$triple"
echo "build-windows: $triple libraries ready after $(($(date +%s) - start)) s"

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DOSTREL_WIN32_DEPS="$build/deps" \
  -DOSTREL_LINUX_BUILD="${OSTREL_LINUX_BUILD:-$PWD/build}" "${launcher[@]}" >/dev/null
# OSTREL_WIN_TARGETS may name the targets to build (default: everything, test programs included).
# shellcheck disable=SC2086
cmake --build "$build" ${OSTREL_WIN_TARGETS:+--target $OSTREL_WIN_TARGETS}
echo "build-windows: $triple done after $(($(date +%s) - start)) s"
