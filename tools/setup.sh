#!/bin/sh
# Installs every Debian package the project needs. Safe to run again; exits 0 when everything
# is in place, non-zero only when an install failed.
#
# Then tools/setup-windows.sh adds what the 32-bit Windows build and its tests under Wine need,
# unless OSTREL_SETUP_WINDOWS=0; a failure there is reported, not fatal (a mirror whose i386
# index can't be used must not stop the Linux build).
#
# OSTREL_POLICY_RC names the policy-rc.d file to use (tests point it elsewhere).
set -e
here=$(dirname "$0")
windows() {
  if [ "${OSTREL_SETUP_WINDOWS:-1}" != 0 ] && ! "$here/setup-windows.sh"; then
    echo "setup: the Windows build's packages could not all be installed (above);" \
      "tools/test.sh leaves the Windows build out where its compiler or Wine is missing" >&2
  fi
  exit 0
}
SUDO=
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
PACKAGES="
  build-essential cmake ninja-build pkg-config git
  libcurl4-openssl-dev libzip-dev zlib1g-dev libpng-dev libgif-dev
  qt6-base-dev libfontconfig-dev fonts-wqy-microhei xvfb xauth xdotool
  g++-mingw-w64-x86-64-posix
  libgtest-dev libgmock-dev
  curl zip unzip libarchive-tools liblnk-utils
  nginx-light openssl aria2 axel hyperfine time tinyproxy-bin
"
missing=
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if [ -z "$missing" ]; then windows; fi

# Packages such as nginx must not start their services here: the benchmarks and the demo
# start their own private instances. policy-rc.d tells invoke-rc.d to leave them. A file
# that is there already (Debian container images ship one) is left as it is.
policy=${OSTREL_POLICY_RC:-/usr/sbin/policy-rc.d}
own_policy=
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
  $SUDO chmod 755 "$policy"
  own_policy=1
fi
cleanup() {
  if [ -n "$own_policy" ]; then $SUDO rm -f "$policy" || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
cleanup
own_policy=
windows
