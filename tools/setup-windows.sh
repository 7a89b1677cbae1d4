#!/bin/sh
# Installs what the Windows build needs, beside what tools/setup.sh installs: the i686
# mingw-w64 cross compiler with POSIX threads, Wine (32-bit) to run its programs, and what
# `apt-get source` needs to fetch Debian's own sources of the libraries. Safe to run again.
set -e
SUDO=
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
PACKAGES="g++-mingw-w64-i686-posix libz-mingw-w64-dev wine wine32 wine64 dpkg-dev liblnk-utils locales"
export DEBIAN_FRONTEND=noninteractive

updated=
update() {
  if [ -z "$updated" ]; then
    # A mirror in the middle of a sync fails one index; the install below still says what is missing.
    $SUDO apt-get update -qq || echo "setup-windows: apt-get update reported errors; going on" >&2
    updated=1
  fi
}

# wine32 comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

# `apt-get source` needs a deb-src entry for the suites the binaries come from.
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  src=/etc/apt/sources.list.d/ostrel-deb-src.sources
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && [ "$f" != "$src" ] || continue
    sed -n '/^Types:.*deb/,/^$/p' "$f" | sed 's/^Types:.*/Types: deb-src/'
  done | $SUDO tee "$src" >/dev/null
  if [ ! -s "$src" ] && [ -e /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list |
      $SUDO tee /etc/apt/sources.list.d/ostrel-deb-src.list >/dev/null
    $SUDO rm -f "$src"
  fi
  updated=
fi

missing=
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ] || ! apt-cache showsrc zlib 2>/dev/null | grep -q '^Package:'; then
  update
fi
if [ -n "$missing" ]; then
  $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# Wine names files on the Linux side in the locale's character set: the tests' locales must be
# there, or Chinese names can't be made at all.
for loc in zh_CN en_US; do
  if ! locale -a 2>/dev/null | grep -qix "$loc.utf8"; then
    $SUDO sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    generate=1
  fi
done
if [ -n "${generate:-}" ]; then $SUDO locale-gen >/dev/null; fi
exit 0
