# shellcheck shell=bash
# What the benchmarks' scripts share (sourced, bash): from the project's folder, ROOT, BUILD_DIR
# (default build), OUT (bench/out, where inputs are made once) and RUNS (default 3), and
#   need TOOL...       stops when a tool is missing
#   build TARGET...    configures BUILD_DIR and builds the targets
#   median N...        the middle of the numbers (the lower middle one of an even count)
#   ratio A B          A / B with two decimals, 0 when B is 0
# shellcheck disable=SC2034  # the settings are the scripts'
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-build}
OUT=$ROOT/bench/out
RUNS=${RUNS:-3}
mkdir -p "$OUT"

need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "missing $tool (tools/setup.sh installs it)" >&2; exit 1; }
  done
}
build() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja >/dev/null
  cmake --build "$BUILD_DIR" -j2 --target "$@" >/dev/null
}
median() { printf '%s\n' "$@" | sort -g | sed -n "$((($# + 1) / 2))p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b == 0 ? 0 : a / b }'; }
