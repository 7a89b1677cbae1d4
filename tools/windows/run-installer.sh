#!/bin/bash
# Runs C:\ostrel-setup\InstKeloPro.exe "UAC" under Wine in PREFIX (put there by
# install-prefix.sh), from its own folder, as a user who downloaded it would. Wine's menu
# builder is off, so the desktop shortcut makes no menu entry in the Linux home.
#
# Usage: run-installer.sh PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export OSTREL_WINEPREFIX=$1
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cd "$1/drive_c/ostrel-setup"
exec "$here/wine-run.sh" 'C:\ostrel-setup\InstKeloPro.exe' UAC
