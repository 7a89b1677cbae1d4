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
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
