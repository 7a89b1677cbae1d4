# shellcheck shell=bash
# Which Wine loader runs the programs of one architecture, and which Windows build. Sourced.
#   wine_loader ARCH   ARCH win32 (32-bit programs: Wine's i386 loader) or win64 (64-bit
#                      programs: Wine's x86-64 loader); prints the loader's path when it really
#                      runs here (its --version answers, well under a second, no prefix made),
#                      or else the reason on stderr and returns 1
# Debian's wine32 and wine64 put them in /usr/lib/wine; OSTREL_WINE32_LOADER and
# OSTREL_WINE64_LOADER name others. A kernel without 32-bit support has wine32 installed but
# can't execute its loader ("Exec format error").

wine_loader() {
  local arch=$1 loader package out
  case $arch in
    win32) loader=${OSTREL_WINE32_LOADER:-/usr/lib/wine/wine} package=wine32 ;;
    win64) loader=${OSTREL_WINE64_LOADER:-/usr/lib/wine/wine64} package=wine64 ;;
    *) echo "no Wine architecture $arch (win32 or win64)" >&2; return 1 ;;
  esac
  if [[ ! -x $loader ]]; then
    echo "$loader is missing ($package is not installed)" >&2
    return 1
  fi
  if ! out=$("$loader" --version 2>&1) || [[ $out != wine-* ]]; then
    out=$(sed 's/^.*: line [0-9]*: //' <<<"${out:-no answer}" | head -n 1)
    echo "$loader can't run here: $out" >&2
    return 1
  fi
  echo "$loader"
}

# wine_build ROOT: the Windows build whose programs Wine runs here: ROOT/build-win32 where the
# 32-bit loader runs, else ROOT/build-win64 (the same sources for x86_64).
wine_build() { if wine_loader win32 >/dev/null 2>&1; then echo "$1/build-win32"; else echo "$1/build-win64"; fi; }

# wine_arch BUILD: win64 for a build of the x86_64 programs (its deps/triple, or the folder's name
# before its libraries are built), else win32.
wine_arch() {
  local triple
  triple=$(cat "$1/deps/triple" 2>/dev/null) || triple=
  if [[ $triple == x86_64-* || (-z $triple && $1 == *win64) ]]; then echo win64; else echo win32; fi
}
