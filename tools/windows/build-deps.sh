#!/bin/bash
# Builds the libraries of the Windows program for TRIPLE (i686-w64-mingw32, the default, or
# x86_64-w64-mingw32) into DEPS (BUILD_DIR/deps), once:
# zlib (Debian's libz-mingw-w64-dev), libpng, giflib, libzip (zlib only), libcurl (HTTP and
# HTTPS through Schannel, nothing else), each from Debian's own source package, and
# GoogleTest from the sources libgtest-dev ships. A library whose stamp file is there is
# not built again; remove DEPS/stamps/NAME to rebuild one.
#
# Usage: build-deps.sh DEPS [TRIPLE]
set -euo pipefail
deps=$(realpath -m "$1")
triple=${2:-i686-w64-mingw32}
toolchain=$(realpath "$(dirname "$0")/../cmake/$triple.cmake")
mkdir -p "$deps/src" "$deps/stamps" "$deps/build"
# Libraries of one architecture only: a folder built for another is refused.
if [ -e "$deps/triple" ] && [ "$(cat "$deps/triple")" != "$triple" ]; then
  echo "build-deps: $deps holds the libraries for $(cat "$deps/triple"), not $triple" >&2
  exit 1
fi
echo "$triple" >"$deps/triple"
export CFLAGS="-O2" CXXFLAGS="-O2"

zlib_lib=/usr/$triple/lib/libz.a
cmake_common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DOSTREL_WIN32_DEPS="$deps"
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF
  -DZLIB_LIBRARY="$zlib_lib" -DZLIB_INCLUDE_DIR=/usr/$triple/include
  -DCMAKE_C_COMPILER_LAUNCHER="${CCACHE:-}" -DCMAKE_CXX_COMPILER_LAUNCHER="${CCACHE:-}")

# The unpacked Debian source of package PKG (fetched on first use); its folder on stdout.
source_of() {
  local pkg=$1 dir
  dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  if [ -z "$dir" ]; then
    (cd "$deps/src" && apt-get source -qq "$pkg" >"$pkg.log" 2>&1) || { cat "$deps/src/$pkg.log" >&2; return 1; }
    dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  fi
  [ -n "$dir" ] || { echo "build-deps: no source of $pkg" >&2; return 1; }
  echo "$dir"
}

# Configures, builds and installs the CMake project in SRC as NAME with the extra options.
cmake_library() {
  local name=$1 src=$2
  shift 2
  rm -rf "$deps/build/$name"
  local log=$deps/build/$name.log
  if ! { cmake -S "$src" -B "$deps/build/$name" "${cmake_common[@]}" "$@" &&
         cmake --build "$deps/build/$name" --target install; } >"$log" 2>&1; then
    tail -20 "$log" >&2
    echo "build-deps: $name failed; its log is $log" >&2
    return 1
  fi
}

build_libpng() {
  cmake_library libpng "$(source_of libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
}

# giflib has no CMake project: its library is eight C files.
build_giflib() {
  local src obj=$deps/build/giflib
  src=$(source_of giflib)
  rm -rf "$obj" && mkdir -p "$obj" "$deps/include" "$deps/lib"
  for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    $triple-gcc-posix $CFLAGS -Wall -c "$src/$f.c" -o "$obj/$f.o"
  done
  rm -f "$deps/lib/libgif.a"
  $triple-ar rcs "$deps/lib/libgif.a" "$obj"/*.o
  cp "$src/gif_lib.h" "$deps/include/"
}

build_libzip() {
  cmake_library libzip "$(source_of libzip)" -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
}

# HTTP and HTTPS through Windows' own TLS (Schannel); no other protocol or library.
source "$(dirname "$0")/curl-options.sh"
build_curl() {
  cmake_library curl "$(source_of curl)" -DBUILD_CURL_EXE=OFF "${curl_options[@]}"
}

build_googletest() {
  cmake_library googletest /usr/src/googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=OFF
}

start=$(date +%s)
built=
for lib in libpng giflib libzip curl googletest; do
  [ -e "$deps/stamps/$lib" ] && continue
  echo "build-deps: $lib"
  lib_start=$(date +%s)
  "build_$lib"
  echo "$(($(date +%s) - lib_start))" >"$deps/stamps/$lib"
  built="$built $lib"
done
if [ -n "$built" ]; then
  echo "build-deps: built$built in $(($(date +%s) - start)) s"
fi
