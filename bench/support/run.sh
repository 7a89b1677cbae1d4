#!/usr/bin/env bash
# Checksum and extraction benchmarks, side by side with the usual tools.
#
#   bench/support/run.sh            (BUILD_DIR=build by default)
#
# 1. CRC-32 of a 1 GiB file in the page cache: ostrel-crc against zlib's crc32
#    (ostrel-crc-bench, same read size).
# 2. Extraction of a ~300 MiB archive of ~2000 files in several folder levels,
#    mixed text and random data, made with zip: ostrel-unzip against
#    "unzip -q -o" and "bsdtar -xf"; then the same over a folder that holds the
#    whole tree already (an upgrade: every file is replaced).
# 3. The checks that ostrel-unzip makes before it writes (entries' byte ranges,
#    free space, the leftover scan), timed on their own and set against its
#    extraction time.
# Each command runs three times; the table shows medians of wall time, CPU time
# (user + system) and peak RSS, and each tool's ratio to ostrel's figure
# (above 1: ostrel is faster / smaller). Inputs are made once under bench/out/.
set -euo pipefail
# shellcheck source=bench/common.sh
source "$(dirname "$0")/../common.sh"
need zip unzip bsdtar /usr/bin/time
build ostrel-crc ostrel-crc-bench ostrel-unzip ostrel-zip-checks-bench
CRC=$BUILD_DIR/tools/crc/ostrel-crc
ZCRC=$BUILD_DIR/tools/crc/ostrel-crc-bench
UNZIP=$BUILD_DIR/tools/unzip/ostrel-unzip
CHECKS=$BUILD_DIR/tools/unzip/ostrel-zip-checks-bench

# ---- inputs -----------------------------------------------------------------

CRC_FILE=$OUT/crc_1g.bin
if [[ ! -f $CRC_FILE || $(stat -c %s "$CRC_FILE") -ne 1073741824 ]]; then
  echo "making $CRC_FILE" >&2
  head -c 1073741824 /dev/urandom >"$CRC_FILE"
fi

ARCHIVE=$OUT/unzip_bench.zip
make_tree() {
  local tree=$1 i size kind dir  # the generators end early on SIGPIPE: that is fine
  RANDOM=42
  rm -rf "$tree"
  for ((i = 0; i < 2000; i++)); do
    dir=$tree/pkg/d$((i % 9))/s$((i % 5))
    ((i % 3 == 0)) && dir=$dir/deep$((i % 4))/more
    mkdir -p "$dir"
    # Mostly small files, one in 25 large: about 300 MiB in all.
    if ((i % 25 == 0)); then size=$((1536 * 1024 + RANDOM * 96)); else size=$((8 * 1024 + RANDOM * 2)); fi
    kind=$((i % 10))
    if ((kind < 4)); then      # random data: stored as it is
      head -c "$size" /dev/urandom >"$dir/f$i.bin"
    elif ((kind < 7)); then    # hex dump text: compresses to about a third
      { od -An -tx1 -v -N $((size / 3 + 1)) /dev/urandom | head -c "$size" >"$dir/f$i.txt"; } || true
    else                       # log-like text: very compressible
      { seq -f "line %g: install step done, status ok, elapsed $((RANDOM))ms" 1 $((size / 40 + 1)) |
          head -c "$size" >"$dir/f$i.log"; } || true
    fi
  done
}
if [[ ! -f $ARCHIVE ]]; then
  echo "making $ARCHIVE" >&2
  make_tree "$OUT/unzip_tree"
  (cd "$OUT/unzip_tree" && zip -qr "$ARCHIVE.tmp" pkg) && mv "$ARCHIVE.tmp" "$ARCHIVE"
  rm -rf "$OUT/unzip_tree"
fi

# ---- measuring ----------------------------------------------------------------

# measure NAME PREPARE COMMAND...: runs PREPARE (untimed) then COMMAND, RUNS
# times; records "wall cpu rss" medians in RESULT_<NAME>.
declare -A RESULT
measure() {
  local name=$1 prepare=$2
  shift 2
  local walls=() cpus=() rsss=() line wall user sys rss
  for ((r = 0; r < RUNS; r++)); do
    eval "$prepare"
    sync  # earlier runs' writes and deletions are not paid for by this one
    line=$(/usr/bin/time -f "%e %U %S %M" "$@" 2>&1 >/dev/null | tail -n 1)
    read -r wall user sys rss <<<"$line"
    walls+=("$wall")
    cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')")
    rsss+=("$rss")
  done
  RESULT[$name]="$(median "${walls[@]}") $(median "${cpus[@]}") $(median "${rsss[@]}")"
}

row() {  # row NAME REFERENCE
  local w c m rw rc rm
  read -r w c m <<<"${RESULT[$1]}"
  read -r rw rc rm <<<"${RESULT[$2]}"
  printf '| %-22s | %8s | %8s | %9s | %6s | %6s | %6s |\n' "$1" "$w" "$c" "$m" \
    "$(ratio "$w" "$rw")" "$(ratio "$c" "$rc")" "$(ratio "$m" "$rm")"
}
header() {
  printf '| %-22s | %8s | %8s | %9s | %6s | %6s | %6s |\n' "$1" "wall s" "cpu s" "rss KiB" "wall x" "cpu x" "rss x"
  printf '|%s|\n' "------------------------|----------|----------|-----------|--------|--------|--------"
}

# ---- checksum -------------------------------------------------------------------

cat "$CRC_FILE" >/dev/null   # into the page cache
ours=$("$CRC" "$CRC_FILE" | cut -d' ' -f1)
theirs=$("$ZCRC" "$CRC_FILE" | cut -d' ' -f1)
[[ $ours == "$theirs" ]] || { echo "CRC mismatch: $ours vs $theirs" >&2; exit 1; }
measure "ostrel-crc" ":" "$CRC" "$CRC_FILE"
measure "zlib crc32" ":" "$ZCRC" "$CRC_FILE"

echo
echo "CRC-32 of a cached 1 GiB file ($ours), medians of $RUNS; x = tool / ostrel-crc"
header "tool"
row "ostrel-crc" "ostrel-crc"
row "zlib crc32" "ostrel-crc"

# ---- extraction -----------------------------------------------------------------

cat "$ARCHIVE" >/dev/null
DEST=$OUT/extract
CLEAN="rm -rf $DEST.o $DEST.u $DEST.b"
measure "ostrel-unzip" "$CLEAN; mkdir -p $DEST.o" "$UNZIP" "$ARCHIVE" "$DEST.o"
measure "unzip -q -o" "$CLEAN; mkdir -p $DEST.u" unzip -q -o "$ARCHIVE" -d "$DEST.u"
measure "bsdtar -xf" "$CLEAN; mkdir -p $DEST.b" bsdtar -xf "$ARCHIVE" -C "$DEST.b"
# Over an earlier extraction, made untimed before each run.
measure "ostrel-unzip, over" "$CLEAN; mkdir -p $DEST.o; $UNZIP $ARCHIVE $DEST.o >/dev/null" "$UNZIP" "$ARCHIVE" "$DEST.o"
measure "unzip -q -o, over" "$CLEAN; unzip -q -o $ARCHIVE -d $DEST.u" unzip -q -o "$ARCHIVE" -d "$DEST.u"
measure "bsdtar -xf, over" "$CLEAN; mkdir -p $DEST.b; bsdtar -xf $ARCHIVE -C $DEST.b" bsdtar -xf "$ARCHIVE" -C "$DEST.b"
# Each timed run removed the others' output; the two extractions compared are made afresh.
eval "$CLEAN"; mkdir -p "$DEST.o" "$DEST.u"
"$UNZIP" "$ARCHIVE" "$DEST.o" >/dev/null && unzip -q -o "$ARCHIVE" -d "$DEST.u"
diff -r "$DEST.o" "$DEST.u" >/dev/null || { echo "ostrel-unzip and unzip disagree" >&2; exit 1; }

entries=$(unzip -Z1 "$ARCHIVE" | wc -l)
mib=$(( $(du -sb "$DEST.u" | cut -f1) / 1048576 ))
echo
echo "Extraction of $(basename "$ARCHIVE") ($entries entries, $mib MiB unpacked, $(( $(stat -c %s "$ARCHIVE") / 1048576 )) MiB packed), medians of $RUNS; x = tool / ostrel-unzip"
header "tool"
row "ostrel-unzip" "ostrel-unzip"
row "unzip -q -o" "ostrel-unzip"
row "bsdtar -xf" "ostrel-unzip"
row "ostrel-unzip, over" "ostrel-unzip, over"
row "unzip -q -o, over" "ostrel-unzip, over"
row "bsdtar -xf, over" "ostrel-unzip, over"

read -r ranges space leftovers <<<"$("$CHECKS" "$ARCHIVE" "$DEST.o")"
read -r wall _ <<<"${RESULT[ostrel-unzip]}"
echo
echo "Checks before writing, medians in ms: entry ranges $ranges, free space $space, leftover scan $leftovers;" \
  "together $(awk -v a="$ranges" -v b="$space" -v c="$leftovers" -v w="$wall" \
    'BEGIN { printf "%.3f", (a + b + c) / (w * 10) }') % of ostrel-unzip's wall time"
rm -rf "$DEST.o" "$DEST.u" "$DEST.b"
