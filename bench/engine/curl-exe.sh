#!/bin/bash
# Builds curl.exe once, for the benchmark's Windows rows: from the same Debian curl source and with
# the same options as the libcurl inside ostrel-fetch.exe (static, Schannel, HTTP only), for the
# architecture of the Windows build in BUILD_DIR. Prints the path of curl.exe.
#
# Usage: bench/engine/curl-exe.sh BUILD_DIR    (a folder tools/build-windows.sh filled)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
triple=$(cat "$build/deps/triple")
src=$(find "$build/deps/src" -maxdepth 1 -type d -name "curl-[0-9]*" | head -n 1)
[ -n "$src" ] || { echo "curl-exe: no curl source under $build/deps/src" >&2; exit 1; }
out=$root/bench/out/curl-exe-$triple
exe=$out/src/curl.exe
if [ ! -f "$exe" ]; then
  source "$root/tools/windows/curl-options.sh"
  echo "curl-exe: building curl.exe for $triple in $out ..." >&2
  CFLAGS=-O2 cmake -S "$src" -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/tools/cmake/$triple.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=ON "${curl_options[@]}" \
    >"$out.log" 2>&1 && cmake --build "$out" --target curl >>"$out.log" 2>&1 ||
    { tail -20 "$out.log" >&2; echo "curl-exe: the build failed; its log is $out.log" >&2; exit 1; }
fi
echo "$exe"
