#!/bin/sh
# Draws the installer's pictures again and writes them into res/ (18 files).
# Only needed after a change under tools/artgen/; the normal build uses the committed files.
#
# BUILD_DIR names the build folder (default build-artgen beside res/).
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build-artgen}
cmake -S "$root" -B "$build" -G Ninja -DOSTREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target ostrel-artgen
mkdir -p "$root/res"
QT_QPA_PLATFORM=offscreen "$build/tools/artgen/ostrel-artgen" "$root/res"
