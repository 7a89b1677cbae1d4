#!/bin/sh
# Builds everything and runs every test. BUILD_DIR and OSTREL_SANITIZE may be set.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
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
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout 300
