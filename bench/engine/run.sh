#!/usr/bin/env bash
# Download engine benchmark: times ostrel-fetch against curl, aria2c and axel,
# all fetching the same files from a local nginx on 127.0.0.1, in one run.
#
#   bench/engine/run.sh            1 MiB, 100 MiB and 1 GiB files
#   SIZES="64" RUNS=5 bench/engine/run.sh
#
# ostrel-fetch also runs through a local tinyproxy (http_proxy, as a user behind a proxy has it;
# the plain one of tests/testkit/with-tinyproxy.sh) for the sizes in PROXY_SIZES (default "100"),
# printed as the row "ostrel-fetch@proxy".
#
# Environment: SIZES (file sizes in MiB, default "1 100 1024"), RUNS (runs per
# tool and size; default 15 for sizes below 10 MiB, else 3),
# BUILD_DIR (where ostrel-fetch is built, default build/),
# OSTREL_FETCH (use this ostrel-fetch binary instead of building one),
# OSTREL_FETCH_EXE (the Windows build's ostrel-fetch.exe, run under Wine; default
# build-win32/tools/fetch/ostrel-fetch.exe where Wine runs 32-bit programs, else
# build-win64/tools/fetch/ostrel-fetch.exe). Beside it, curl.exe built once from the same curl
# source and options (bench/engine/curl-exe.sh), also under Wine and writing on drive C:.
# Prints, per tool, the medians of wall time, throughput, user+sys CPU time and
# peak RSS, with throughput ratios against aria2c and curl. A tool that is not
# available is skipped with a note.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SIZES=${SIZES:-${SIZE_MIB:-1 100 1024}}
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
CACHE_DIR=$ROOT/bench/out
TIME=/usr/bin/time

die() { echo "run.sh: $*" >&2; exit 1; }
note() { echo "note: $*" >&2; }

for size in $SIZES; do
  [[ $size =~ ^[1-9][0-9]*$ ]] || die "SIZES must hold positive whole numbers"
  (( size < 2048 )) || die "sizes must stay below 2048 MiB (the engine's sizes are 32-bit)"
done
[[ -z ${RUNS:-} || $RUNS =~ ^[1-9][0-9]*$ ]] || die "RUNS must be a positive whole number"
[[ -x $TIME ]] || die "$TIME is missing (Debian package 'time'; see tools/setup.sh)"
if [[ -z ${OSTREL_TEST_PROXY:-} ]] && command -v tinyproxy >/dev/null; then
  exec "$ROOT/tests/testkit/with-tinyproxy.sh" "$0" "$@"
fi

# Everything talks to 127.0.0.1 directly.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1

PROXY_SIZES=${PROXY_SIZES:-100}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-bench.XXXXXX")
SITE=$WORK/site
WINESERVER_UP=
# shellcheck disable=SC2317  # run by the trap
cleanup() {
  "$ROOT/tools/demo-servers.sh" stop "$SITE" >/dev/null 2>&1 || true
  if [[ -n $WINESERVER_UP ]]; then  # nginx held the session's pipe too: it is gone now
    exec 8>&-
    WINEPREFIX=$OSTREL_WINEPREFIX timeout 20 wineserver -w || WINEPREFIX=$OSTREL_WINEPREFIX wineserver -k
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- ostrel-fetch -----------------------------------------------------------
find_fetch() {
  if [[ -n ${OSTREL_FETCH:-} ]]; then
    [[ -x $OSTREL_FETCH ]] && { echo "$OSTREL_FETCH"; return; }
    note "OSTREL_FETCH=$OSTREL_FETCH is not executable; ostrel-fetch skipped"
    return
  fi
  if [[ ! -f $ROOT/tools/fetch/CMakeLists.txt ]]; then
    note "tools/fetch does not exist yet; ostrel-fetch skipped"
    return
  fi
  echo "building ostrel-fetch in $BUILD_DIR ..." >&2
  if ! { cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja >"$WORK/build.log" 2>&1 &&
         cmake --build "$BUILD_DIR" -j2 --target ostrel-fetch >>"$WORK/build.log" 2>&1; }; then
    tail -20 "$WORK/build.log" >&2
    note "ostrel-fetch failed to build; skipped"
    return
  fi
  local binary
  binary=$(find "$BUILD_DIR/tools/fetch" -maxdepth 1 -name ostrel-fetch -type f -perm -u+x | head -1)
  if [[ -n $binary ]]; then echo "$binary"; else note "ostrel-fetch built but not found; skipped"; fi
}

# --- the served files (cached between runs of this script) ------------------
mkdir -p "$CACHE_DIR"
make_data() {  # make_data SIZE_MIB: sets DATA_NAME, DATA, SIZE, DATA_SHA256
  DATA_NAME=engine-${1}MiB.bin
  DATA=$CACHE_DIR/$DATA_NAME
  SIZE=$(( $1 * 1024 * 1024 ))
  if [[ ! -f $DATA || $(stat -c %s "$DATA") != "$SIZE" || ! -s $DATA.sha256 ]]; then
    echo "creating $DATA ($1 MiB of random bytes) ..." >&2
    head -c "$SIZE" /dev/urandom >"$DATA.part"
    sha256sum <"$DATA.part" | cut -d' ' -f1 >"$DATA.sha256"
    mv "$DATA.part" "$DATA"
  fi
  DATA_SHA256=$(cat "$DATA.sha256")
}
make_data "${SIZES%% *}"

# --- nginx: the demo servers' private one, without a rate limit, serving the files ----------
start_nginx() {
  mkdir -p "$SITE/web"
  ln -s "$CACHE_DIR" "$SITE/download"
  URL=$(OSTREL_DEMO_RATE=0 "$ROOT/tools/demo-servers.sh" start "$SITE" 2>"$WORK/nginx.log" |
    sed -n 's/^export OSTREL_DOWNLOAD_SERVER=//p')$DATA_NAME || { cat "$WORK/nginx.log" >&2; die "nginx did not come up"; }
}

# --- one timed download -----------------------------------------------------
# run_tool NAME: downloads URL into $WORK/dl/NAME/, appends "wall cpu rss_kib" to
# $WORK/NAME.times; returns non-zero when the download failed or is wrong.
run_tool() {
  local name=$1 dir=$WORK/dl/$1 out
  # The Windows program writes on drive C: of its Wine prefix (which has no drive for /tmp).
  [[ $name == *.exe ]] && dir=$WINE_DRIVE_C/ostrel-bench
  rm -rf "$WORK/dl" "$WINE_DRIVE_C/ostrel-bench"
  mkdir -p "$dir"
  sync  # the previous run's writes and deletions are not paid for by this one
  out=$dir/$DATA_NAME
  local -a command
  case $name in
    ostrel-fetch) command=("$FETCH" -n 2 "$URL" "$out") ;;
    ostrel-fetch@proxy) command=(env -u no_proxy -u NO_PROXY "http_proxy=$PROXY_URL" "$FETCH" -n 2 "$URL" "$out") ;;
    ostrel-fetch.exe) command=("$ROOT/tools/windows/wine-run.sh" "$FETCH_EXE" -n 2 "$URL" "C:\\ostrel-bench\\$DATA_NAME") ;;
    curl) command=(curl -s -o "$out" "$URL") ;;
    curl.exe) command=("$ROOT/tools/windows/wine-run.sh" "$CURL_EXE" -s -o "C:\\ostrel-bench\\$DATA_NAME" "$URL") ;;
    aria2c) command=(aria2c -x2 -s2 --allow-overwrite=true --file-allocation=none -q
                     -d "$dir" -o "$DATA_NAME" "$URL") ;;
    axel) command=(axel -q -n 2 -o "$out" "$URL") ;;
  esac
  # Wall time from the shell's microsecond clock; CPU and peak RSS from time(1).
  local status=0 started=$EPOCHREALTIME ended
  "$TIME" -f "%e %U %S %M" -o "$WORK/time.txt" "${command[@]}" >"$WORK/tool.log" 2>&1 || status=$?
  ended=$EPOCHREALTIME
  if (( status != 0 )); then
    note "$name exited with status $status: $(tail -3 "$WORK/tool.log" | tr '\n' ' ')"
    return 1
  fi
  local got
  got=$(stat -c %s "$out" 2>/dev/null || echo missing)
  if [[ $got != "$SIZE" ]]; then
    note "$name produced $got bytes instead of $SIZE"
    return 1
  fi
  if [[ $name == ostrel-fetch* && ! -e $WORK/$name.$SIZE.verified ]]; then
    local sum
    sum=$(sha256sum <"$out" | cut -d' ' -f1)
    if [[ $sum != "$DATA_SHA256" ]]; then
      note "$name's file differs from the served one (sha256 $sum)"
      return 1
    fi
    touch "$WORK/$name.$SIZE.verified"
  fi
  tail -1 "$WORK/time.txt" | awk -v a="$started" -v b="$ended" \
    '{ printf "%.3f %.2f %s\n", b - a, $2 + $3, $4 }' >>"$WORK/$name.$SIZE.times"
}

median() {  # median of the numbers on standard input
  sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "nan"; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# --- main -------------------------------------------------------------------
FETCH=$(find_fetch)
TOOLS=()
[[ -n $FETCH ]] && TOOLS+=(ostrel-fetch)
source "$ROOT/tools/windows/wine-loader.sh"
FETCH_EXE=${OSTREL_FETCH_EXE:-$(wine_build "$ROOT")/tools/fetch/ostrel-fetch.exe}
WIN_BUILD=$(dirname "$(dirname "$(dirname "$FETCH_EXE")")")
export OSTREL_WINEPREFIX=${OSTREL_WINEPREFIX:-$WIN_BUILD/wineprefix}
[[ $(wine_arch "$WIN_BUILD") == win64 ]] && export OSTREL_WINE_ARCH=win64
WINE_DRIVE_C=$OSTREL_WINEPREFIX/drive_c
if [[ -f $FETCH_EXE ]] && command -v wine >/dev/null; then
  TOOLS+=(ostrel-fetch.exe)
  "$ROOT/tools/windows/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true  # the prefix, made before any timing
  # One Wine session for the whole run: a program waiting on a pipe that this script holds open
  # keeps the server and Wine's own processes up until the script ends. Else a Windows program
  # that follows a Linux one pays for starting them again and one that follows another Windows
  # program does not.
  WINESERVER_UP=1
  mkfifo "$WORK/wine-session"
  "$ROOT/tools/windows/wine-run.sh" cmd /c pause <"$WORK/wine-session" >/dev/null 2>&1 &
  exec 8>"$WORK/wine-session"
  if CURL_EXE=$("$ROOT/bench/engine/curl-exe.sh" "$WIN_BUILD"); then
    TOOLS+=(curl.exe)
  else
    note "curl.exe could not be built; skipped"
  fi
else
  note "no $FETCH_EXE or no Wine (tools/build-windows.sh); the Windows rows are skipped"
fi
for tool in curl aria2c axel; do
  if command -v "$tool" >/dev/null; then TOOLS+=("$tool"); else note "$tool is not installed; skipped"; fi
done
if [[ -n ${ONLY:-} ]]; then  # ONLY="ostrel-fetch.exe curl.exe": just these tools
  picked=()
  for tool in "${TOOLS[@]}"; do [[ " $ONLY " == *" $tool "* ]] && picked+=("$tool"); done
  TOOLS=("${picked[@]}")
fi
(( ${#TOOLS[@]} > 0 )) || die "no tool to time"

declare -A FAILED=() WALL=() CPU=() RSS=() RATE=()
ANY_FAILED=0

ratio() {  # ratio TOOL BASE: throughput of TOOL over that of BASE
  local base=${RATE[$2]:-}
  if [[ -z $base || -z ${RATE[$1]:-} ]]; then echo "-"; return; fi
  awk -v a="${RATE[$1]}" -v b="$base" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "-" }'
}

bench_size() {  # bench_size SIZE_MIB RUNS
  local SIZE_MIB=$1 RUNS=$2 run tool
  local -a TOOLS=("${TOOLS[@]}")
  if [[ -n $FETCH && -n ${PROXY_URL:-} && " $PROXY_SIZES " == *" $SIZE_MIB "* ]]; then
    TOOLS=("${TOOLS[0]}" ostrel-fetch@proxy "${TOOLS[@]:1}")
  fi
  make_data "$SIZE_MIB"
  URL=${URL%/*}/$DATA_NAME
  cat "$DATA" >/dev/null  # the served file starts in the page cache for every tool
  echo "serving $SIZE_MIB MiB from $URL; $RUNS runs of: ${TOOLS[*]}" >&2

  FAILED=()
  for run in $(seq 1 "$RUNS"); do
    for tool in "${TOOLS[@]}"; do
      echo "run $run/$RUNS: $tool" >&2
      run_tool "$tool" || FAILED[$tool]=1
    done
  done

  WALL=() CPU=() RSS=() RATE=()
  for tool in "${TOOLS[@]}"; do
    [[ -s $WORK/$tool.$SIZE.times ]] || continue
    WALL[$tool]=$(cut -d' ' -f1 "$WORK/$tool.$SIZE.times" | median)
    CPU[$tool]=$(cut -d' ' -f2 "$WORK/$tool.$SIZE.times" | median)
    RSS[$tool]=$(cut -d' ' -f3 "$WORK/$tool.$SIZE.times" | median)
    RATE[$tool]=$(awk -v s="$SIZE_MIB" -v w="${WALL[$tool]}" 'BEGIN { printf "%.1f", (w > 0 ? s / w : 0) }')
  done

  echo
  echo "$SIZE_MIB MiB from nginx on 127.0.0.1, medians of $RUNS runs${PROXY_URL:+ (@proxy: through tinyproxy on 127.0.0.1)}"
  printf "%-19s %8s %9s %10s %13s %10s %8s %9s\n" tool "wall s" "MiB/s" "cpu s" "peak RSS MiB" "vs aria2c" "vs curl" "vs curl.exe"
  for tool in "${TOOLS[@]}"; do
    if [[ -z ${WALL[$tool]:-} ]]; then
      printf "%-19s %s\n" "$tool" "failed every run"
      continue
    fi
    printf "%-19s %8.3f %9s %10.2f %13.1f %10s %8s %9s%s\n" "$tool" "${WALL[$tool]}" "${RATE[$tool]}" \
      "${CPU[$tool]}" "$(awk -v k="${RSS[$tool]}" 'BEGIN { print k / 1024 }')" \
      "$(ratio "$tool" aria2c)" "$(ratio "$tool" curl)" "$(ratio "$tool" curl.exe)" "${FAILED[$tool]:+  (some runs failed)}"
  done
  (( ${#FAILED[@]} == 0 )) || ANY_FAILED=1
}

start_nginx
PROXY_URL=${OSTREL_TEST_PROXY:-}
[[ -n $PROXY_URL ]] || note "tinyproxy is not installed; the proxy row is skipped"
for size in $SIZES; do
  runs=${RUNS:-$(( size < 10 ? 15 : 3 ))}
  bench_size "$size" "$runs"
done
exit "$ANY_FAILED"
