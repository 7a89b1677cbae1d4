#!/bin/bash
# What the Windows layer leaves behind, read from outside the program: a value written to
# HKEY_LOCAL_MACHINE lands in the 32-bit view (under Wow6432Node in a 64-bit prefix) and the
# desktop shortcut is a Shell Link that lnkinfo reads with its target and description.
#
# Usage: check_effects.sh TEST_EXE WINEPREFIX
set -uo pipefail
exe=$1
export OSTREL_WINEPREFIX=$2
run=$(cd "$(dirname "$0")/../../tools/windows" && pwd)/wine-run.sh
marker="marker-$$-$RANDOM"
lnk_dir="$OSTREL_WINEPREFIX/drive_c/ostrel-effects"
mkdir -p "$lnk_dir"
rm -f "$lnk_dir/OstrelPro.lnk"
OSTREL_REGISTRY_MARKER=$marker OSTREL_SHORTCUT_FILE='C:\ostrel-effects\OstrelPro.lnk' \
  "$run" "$exe" --gtest_filter='WindowsRegistry.WritesTheMarkerIn32BitView:WindowsShell.*' || exit 1
failed=0
if [ -d "$OSTREL_WINEPREFIX/drive_c/windows/syswow64" ]; then
  key='HKLM\Software\Wow6432Node\OstrelLayerMarker'
else
  key='HKLM\Software\OstrelLayerMarker'  # a 32-bit prefix has one view only
fi
if "$run" reg query "$key" /v Marker 2>/dev/null | tr -d '\r' | grep -q "Marker.*REG_SZ.*$marker"; then
  echo "ok   $key holds the marker"
else
  echo "FAIL $key does not hold the marker"
  failed=1
fi
if ! command -v lnkinfo >/dev/null; then
  echo "lnkinfo is missing (liblnk-utils); the shortcut is not checked"
elif info=$(lnkinfo "$lnk_dir/OstrelPro.lnk" 2>&1) && grep -q 'Description.*OstrelPro' <<<"$info" &&
  grep -qi 'OstrelLauncher.exe' <<<"$info"; then
  echo "ok   lnkinfo reads the shortcut's target and description"
else
  echo "FAIL lnkinfo: $info"
  failed=1
fi
exit $failed
