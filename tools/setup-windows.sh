#!/bin/sh
# Installs what the Windows build needs, beside what tools/setup.sh installs: the i686
# mingw-w64 cross compiler with POSIX threads, Wine (32-bit) to run its programs, and what
# `apt-get source` needs to fetch Debian's own sources of the libraries. Safe to run again.
set -e
SUDO=
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
# The cross compilers and their libraries need no i386 package: they are installed on their own,
# first, so the Windows programs build even where Wine can't be had. Then the 64-bit Wine, which
# needs no i386 package either (it runs the x86_64 test build where 32-bit programs can't run),
# and last the 32-bit Wine.
BUILD_PACKAGES="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev liblnk-utils locales"
WINE64_PACKAGES="wine wine64"
WINE_PACKAGES="wine32"
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

missing_of() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || printf ' %s' "$p"
  done
}
build_missing=$(missing_of $BUILD_PACKAGES)
wine64_missing=$(missing_of $WINE64_PACKAGES)
missing=$(missing_of $WINE_PACKAGES)
if [ -n "$build_missing$wine64_missing$missing" ] || ! apt-cache showsrc zlib 2>/dev/null | grep -q '^Package:'; then
  update
fi
if [ -n "$build_missing" ]; then
  $SUDO apt-get install -y -qq --no-install-recommends $build_missing
fi
wine_status=0
if [ -n "$wine64_missing" ]; then
  $SUDO apt-get install -y -qq --no-install-recommends $wine64_missing || wine_status=1
fi
# An i386 package of "Multi-Arch: same" must have the very version of its amd64 twin. When the
# mirror's i386 index lags behind (a security update published for amd64 only, or an index that
# fails to load), wine32 can't be installed beside the newer amd64 build: the amd64 build is then
# brought to the version that exists for both.
twin_versions() {
  # What wine32 needs for i386, and which of those are installed for amd64 as "same" twins.
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances wine32:i386 2>/dev/null | sed -n 's/^\([^ <]*\):i386$/\1/p' |
    sort -u >"$tmp/needed"
  dpkg-query -W -f='${Package} ${Architecture} ${Version} ${Multi-Arch}\n' |
    awk 'NR == FNR { needed[$1] = 1; next } $2 == "amd64" && $4 == "same" && ($1 in needed) { print $1, $3 }' \
      "$tmp/needed" - >"$tmp/installed"
  [ -s "$tmp/installed" ] || return 0
  # shellcheck disable=SC2046
  apt-cache madison $(awk '{ print $1 ":i386" }' "$tmp/installed") 2>/dev/null |
    awk -F' *[|] *' '{ sub(/:i386$/, "", $1); gsub(/ /, "", $1); print $1, $2 }' >"$tmp/i386"
  awk 'NR == FNR { if (!($1 in first)) first[$1] = $2; have[$1 " " $2] = 1; next }
       ($1 in first) && !(($1 " " $2) in have) { print $1 ":amd64=" first[$1], $1 ":i386=" first[$1] }' \
    "$tmp/i386" "$tmp/installed"
}

# A mirror whose i386 security index can't be loaded gives the amd64 packages that wine32 pulls
# in new the security suite's version, which i386 lacks. For that one install the security suite
# is put below the main suite (a preferences file given to that apt-get call only; the machine's
# own apt settings stay as they are), and the installed twins are brought to the versions both
# architectures have.
if [ -n "$missing" ]; then
  if ! $SUDO apt-get install -y -qq --no-install-recommends $missing; then
    tmp=$(mktemp -d)
    chmod 755 "$tmp"
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' >"$tmp/security-below-main.pref"
    pins=$(twin_versions | tr '\n' ' ')
    echo "setup-windows: wine32 can't be installed as it is; again with the security suite below the main" \
      "suite for this install${pins:+ and the versions both architectures have: $pins}" >&2
    $SUDO apt-get install -y -qq --no-install-recommends --allow-downgrades \
      -o Dir::Etc::Preferences="$tmp/security-below-main.pref" $missing $pins || wine_status=1
    rm -rf "$tmp"
  fi
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
exit "$wine_status"
