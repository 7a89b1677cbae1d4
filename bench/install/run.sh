#!/usr/bin/env bash
# The whole install, timed against what a user could do instead with the usual tools, all on
# the same package from the same local nginx (no rate limit), in one run:
#
#   installer          ostrel-install-bench: "立即安装" to the done page (manifest already read;
#                      package download, checksum, extraction, base service and three drivers)
#   installer, over    the same over an earlier install of the package (every file replaced;
#                      the package is downloaded again)
#   aria2c + bsdtar    aria2c -x2 -s2 into a file, then bsdtar -xf
#   curl | bsdtar      curl piped into bsdtar -xf -
#
#   bench/install/run.sh          (BUILD_DIR=build, RUNS=3 by default)
#
# The package: about 300 MiB in about 2000 files, some under Chinese names, made once under
# bench/out/. Prints the medians of wall time and peak RSS and each tool's ratio to the
# installer's time (above 1: the installer is faster).
set -euo pipefail
# shellcheck source=bench/common.sh
source "$(dirname "$0")/../common.sh"
TIME=/usr/bin/time
need aria2c curl bsdtar zip iconv $TIME
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1

build ostrel-install-bench ostrel-demosite ostrel-crc
BENCH=$BUILD_DIR/bench/install/ostrel-install-bench

# ---- the package and the site -------------------------------------------------------------
PACKAGE=$OUT/install_package.zip
if [[ ! -f $PACKAGE ]]; then
  echo "making $PACKAGE" >&2
  bash "$ROOT/bench/install/make_package.sh" "$OUT/install_tree" "$PACKAGE"
fi
NAME=OstrelPlatform_9.zip
WORK=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-install-bench.XXXXXX")
SITE=$WORK/site
cleanup() {
  "$ROOT/tools/demo-servers.sh" stop "$SITE" >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
"$BUILD_DIR/tools/demosite/ostrel-demosite" "$SITE" >/dev/null
crc=$("$BUILD_DIR/tools/crc/ostrel-crc" "$PACKAGE" | cut -d' ' -f1)
for root in "$SITE/download" "$SITE/web"; do
  folder=$root/dlcpx/DOWN_CENTER/OSTREL/OSTREL
  rm -f "$folder"/*.zip
  ln "$PACKAGE" "$folder/$NAME" 2>/dev/null || cp "$PACKAGE" "$folder/$NAME"
  printf '[Setup]\r\nLargeVer=V9 基准\r\nurl=%s\r\ncrc=%s\r\n' "$NAME" "$crc" | iconv -f UTF-8 -t CP936 >"$folder/OSTREL.XML"
done
eval "$(OSTREL_DEMO_RATE=0 "$ROOT/tools/demo-servers.sh" start "$SITE")"
URL=${OSTREL_DOWNLOAD_SERVER}dlcpx/DOWN_CENTER/OSTREL/OSTREL/$NAME

# ---- measuring ------------------------------------------------------------------------------
declare -A WALL RSS

# measure NAME PREPARE COMMAND...: wall time and peak RSS (of the largest process) per run.
measure() {
  local name=$1 prepare=$2 walls=() rsss=() line wall rss
  shift 2
  for ((r = 0; r < RUNS; r++)); do
    eval "$prepare"
    sync
    line=$($TIME -f "%e %M" "$@" 2>&1 >"$WORK/stdout" | tail -n 1) || { echo "$name failed: $line" >&2; exit 1; }
    read -r wall rss <<<"$line"
    # The installer times itself from "立即安装"; its start and manifest are left out.
    if [[ $name == installer* ]]; then wall=$(awk '/^install /{print $2}' "$WORK/stdout"); fi
    walls+=("$wall"); rsss+=("$rss")
  done
  WALL[$name]=$(median "${walls[@]}")
  RSS[$name]=$(median "${rsss[@]}")
}

DEST=$WORK/out
export OSTREL_PREFIX=$WORK/prefix
measure installer "rm -rf $OSTREL_PREFIX" "$BENCH" 'C:\Bench'
installed=$OSTREL_PREFIX/drive_c/Bench/OstrelPlatform
measure "installer, over" "rm -rf $OSTREL_PREFIX; $BENCH 'C:\\Bench' >/dev/null; rm -rf '$OSTREL_PREFIX/drive_c/Program Files/Ostrel/InstOstrel/Downloads'" \
  "$BENCH" 'C:\Bench'
measure "aria2c + bsdtar" "rm -rf $DEST; mkdir -p $DEST/x" \
  sh -c "aria2c -q -x2 -s2 --allow-overwrite=true --file-allocation=none -d '$DEST' -o pkg.zip '$URL' && bsdtar -xf '$DEST/pkg.zip' -C '$DEST/x'"
measure "curl | bsdtar" "rm -rf $DEST; mkdir -p $DEST/x" sh -c "curl -s '$URL' | bsdtar -xf - -C '$DEST/x'"

# The installer's files against bsdtar's (the components beside them are the installer's own).
rm -rf "$OSTREL_PREFIX" "$DEST"; mkdir -p "$DEST/x"
"$BENCH" 'C:\Bench' >/dev/null && bsdtar -xf "$PACKAGE" -C "$DEST/x"
diff -r -x App -x ThirdSoftware "$installed" "$DEST/x" >/dev/null || { echo "the installer's files differ from bsdtar's" >&2; exit 1; }

files=$(find "$DEST/x" -type f | wc -l)
echo
echo "Whole install of a $(( $(stat -c %s "$PACKAGE") / 1048576 )) MiB package ($files files) from a local nginx, medians of $RUNS; x = tool / installer"
printf '| %-16s | %8s | %9s | %6s |\n' tool "wall s" "rss KiB" "wall x"
printf '|%s|\n' "------------------|----------|-----------|--------"
for name in installer "installer, over" "aria2c + bsdtar" "curl | bsdtar"; do
  printf '| %-16s | %8s | %9s | %6s |\n' "$name" "${WALL[$name]}" "${RSS[$name]}" "$(ratio "${WALL[$name]}" "${WALL[installer]}")"
done
