#!/bin/bash
# Runs C:\ostrel-setup\InstKeloPro.exe "UAC" under Wine in PREFIX (put there by
# install-prefix.sh), from its own folder, as a user who downloaded it would. Wine's menu
# builder is off, so the desktop shortcut makes no menu entry in the Linux home.
#
# Usage: run-installer.sh PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export OSTREL_WINEPREFIX=$(realpath -m "$1")
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cd "$OSTREL_WINEPREFIX/drive_c/ostrel-setup"
exec "$here/wine-run.sh" 'C:\ostrel-setup\InstKeloPro.exe' UAC
