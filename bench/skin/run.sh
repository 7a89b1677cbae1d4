#!/bin/sh
# The window's model and loader: paint times per page and a button state change.
#   bench/skin/run.sh [RUNS]      (BUILD_DIR=build by default)
set -e
cd "$(dirname "$0")/../.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" -j2 --target ostrel-skin-bench >/dev/null
"$BUILD_DIR/tools/screens/ostrel-skin-bench" "$@"
