#!/bin/bash
# Builds the 32-bit Windows programs and their test programs into BUILD_DIR (default
# build-win32/) with the i686 mingw-w64 cross compiler: installs what it needs
# (tools/setup-windows.sh), builds the libraries once into BUILD_DIR/deps, then configures and
# builds the project. Run the tests under Wine afterwards with `ctest --test-dir BUILD_DIR`; the
# comparison of the command-line tools with the Linux ones needs the Linux build's tools
# (OSTREL_LINUX_BUILD, default build/).
#
# Usage: tools/build-windows.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build-win32}")
toolchain=$PWD/tools/cmake/i686-w64-mingw32.cmake

if [ -z "${OSTREL_SKIP_SETUP:-}" ]; then tools/setup-windows.sh; fi
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

start=$(date +%s)
CCACHE=$(command -v ccache || true) tools/windows/build-deps.sh "$build/deps"
echo "build-windows: libraries ready after $(($(date +%s) - start)) s"

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DOSTREL_WIN32_DEPS="$build/deps" \
  -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
  -DOSTREL_LINUX_BUILD="${OSTREL_LINUX_BUILD:-$PWD/build}" "${launcher[@]}" >/dev/null
cmake --build "$build"
echo "build-windows: done after $(($(date +%s) - start)) s"
