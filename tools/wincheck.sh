#!/bin/sh
# Windows syntax check: every translation unit above the platform layer must
# compile for Windows, so that no POSIX call creeps back above it. Runs the
# mingw-w64 cross compiler with -fsyntax-only over the .cpp files of support/,
# download/, platform/ (not posix/), skin/ and app/ (not app/qt/); the
# libraries' own headers come from the host.
#
# Also fails when a file outside platform/ includes platform/posix/.
#
# Prints each file that fails with its first errors and exits 1 when any does;
# exits 77 (skipped) when the cross compiler is missing. CXX_WIN may name
# another compiler; JOBS how many files are checked at once (default 2).
set -u
cd "$(dirname "$0")/.."
CXX_WIN=${CXX_WIN:-x86_64-w64-mingw32-g++-posix}
JOBS=${JOBS:-2}

# One file (run by xargs below): "ok FILE" or "fail FILE", its errors in WORK.
if [ "${1:-}" = --one ]; then
  log="$2/$(echo "$3" | tr / _).log"
  if "$CXX_WIN" -std=c++20 -fsyntax-only -Wall -Wextra -I. -I"$2/include" "$3" >"$log" 2>&1; then
    echo "ok $3"
  else
    echo "fail $3"
  fi
  exit 0
fi

# Nothing outside platform/ reaches into its Linux side (the layer's own tests aside).
leaks=$(for dir in app bench download res skin support tests tools; do
  [ -d "$dir" ] && grep -rl --include='*.cpp' --include='*.h' '#include "platform/posix/' "$dir"
done | grep -v '^tests/platform/')
if [ -n "$leaks" ]; then
  echo "FAILED: these include platform/posix/ from outside the layer:"
  echo "$leaks" | sed 's/^/    /'
  exit 1
fi

# Files that wait for their conversion to the layer; each one listed here that
# compiles is reported so it can be taken off.
KNOWN_PENDING="
"

if ! command -v "$CXX_WIN" >/dev/null 2>&1; then
  echo "wincheck: $CXX_WIN is not installed (tools/setup.sh installs it); skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# Only the libraries' headers, never the host C library's.
mkdir "$work/include"
for h in curl zip.h zipconf.h zlib.h zconf.h png.h pngconf.h pnglibconf.h gif_lib.h; do
  for dir in /usr/include /usr/include/x86_64-linux-gnu; do
    if [ -e "$dir/$h" ] && [ ! -e "$work/include/$h" ]; then ln -s "$dir/$h" "$work/include/$h"; fi
  done
done

for dir in support download platform skin app; do
  [ -d "$dir" ] && find "$dir" -name '*.cpp' ! -path 'platform/posix/*' ! -path 'app/qt/*'
done | sort >"$work/files"

xargs -P "$JOBS" -n 1 "$0" --one "$work" <"$work/files" >"$work/results"

status=0
total=0
failed=0
waiting=0
for file in $(cat "$work/files"); do
  total=$((total + 1))
  pending=no
  for p in $KNOWN_PENDING; do [ "$p" = "$file" ] && pending=yes; done
  if grep -qx "fail $file" "$work/results"; then
    if [ $pending = yes ]; then
      echo "known pending: $file"
      waiting=$((waiting + 1))
      continue
    fi
    failed=$((failed + 1))
    status=1
    echo "FAILED: $file"
    grep -m 5 'error' "$work/$(echo "$file" | tr / _).log" | sed 's/^/    /'
  elif [ $pending = yes ]; then
    echo "compiles now, take it off the known pending list: $file"
  fi
done
echo "wincheck: $((total - failed - waiting)) of $total translation units compile for Windows, $waiting known pending"
exit $status
