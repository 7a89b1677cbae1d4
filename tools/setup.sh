#!/bin/sh
# Installs every Debian package the project needs. Safe to run again.
set -e
SUDO=
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
PACKAGES="
  build-essential cmake ninja-build pkg-config git
  libcurl4-openssl-dev libzip-dev zlib1g-dev
  libgtest-dev libgmock-dev
  curl zip unzip libarchive-tools liblnk-utils
  nginx-light aria2 axel hyperfine time
"
missing=
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

# Packages such as nginx must not start their services here: the benchmarks
# start their own private instances. policy-rc.d tells invoke-rc.d to leave them.
policy=/usr/sbin/policy-rc.d
own_policy=
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
  $SUDO chmod 755 "$policy"
  own_policy=1
fi
cleanup() { [ -n "$own_policy" ] && $SUDO rm -f "$policy"; }
trap cleanup EXIT INT TERM

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
