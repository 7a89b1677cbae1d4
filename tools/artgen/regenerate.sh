#!/bin/sh
# Draws the installer's pictures again and writes them into res/ (18 pictures and the icon).
# Only needed after a change under tools/artgen/; the normal build uses the committed files.
#
# BUILD_DIR names the build folder (default build-artgen beside res/).
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build-artgen}
cmake -S "$root/tools/artgen" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target ostrel-artgen
mkdir -p "$root/res"
QT_QPA_PLATFORM=offscreen "$build/ostrel-artgen" "$root/res"
