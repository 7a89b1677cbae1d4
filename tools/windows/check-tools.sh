#!/bin/bash
# The command-line tools of the Windows build against the Linux ones: ostrel-fetch.exe under
# Wine downloads from the Linux test server on 127.0.0.1 byte-exact (also when interrupted
# halfway and run again), ostrel-crc.exe prints the same checksum texts, ostrel-unzip.exe extracts the
# demo package (Chinese names in code page 936) into the same tree. Prints "N passed, N failed".
#
# Usage: check-tools.sh WIN_BUILD LINUX_BUILD
set -uo pipefail
win=$(realpath "$1")
linux=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
run=$here/wine-run.sh
export OSTREL_WINEPREFIX=${OSTREL_WINEPREFIX:-$win/wineprefix}
"$run" cmd /c exit >/dev/null 2>&1  # makes the prefix before anything is put into it
work=$OSTREL_WINEPREFIX/drive_c/ostrel-check  # C:\ostrel-check in the prefix
rm -rf "$work" && mkdir -p "$work/site" "$work/linux" "$work/win"
source "$here/checks.sh"

head -c $((48 * 1024 * 1024 + 12345)) /dev/urandom >"$work/site/big.bin"
"$linux/tools/demosite/ostrel-demosite" "$work/demo" >/dev/null
package=$(find "$work/demo/download" -name '*.zip' | head -n 1)
cp "$package" "$work/site/package.zip"

"$linux/tools/testserver/ostrel-testserver" --port-file "$work/port" "$work/site" >"$work/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
base="http://127.0.0.1:$(cat "$work/port")"

fetch_whole() {
  "$run" "$win/tools/fetch/ostrel-fetch.exe" "$base/big.bin" 'C:\ostrel-check\win\big.bin' 2>"$work/fetch.log" &&
    cmp -s "$work/site/big.bin" "$work/win/big.bin"
}
check "ostrel-fetch.exe downloads byte-exact in 2 segments" fetch_whole

fetch_resumed() {
  local url="$base/fault/rate=1000000/big.bin" pid
  "$run" "$win/tools/fetch/ostrel-fetch.exe" -n 4 "$url" 'C:\ostrel-check\win\resumed.bin' 2>/dev/null &
  pid=$!
  sleep 5  # 4 segments at 1 MB/s each: about a third of the file
  # Ctrl+C: Wine hands SIGINT to the program's console handler, which stops the job and keeps
  # its state, as on Linux.
  kill -INT "$pid" 2>/dev/null
  wait "$pid"
  [ $? = 130 ] || { echo "     not ended as interrupted"; return 1; }
  [ -e "$work/win/resumed.bin.rpc.cfg" ] || { echo "     no state file after the kill"; return 1; }
  [ ! -e "$work/win/resumed.bin" ] || { echo "     the target exists before the download is over"; return 1; }
  "$run" "$win/tools/fetch/ostrel-fetch.exe" -n 4 "$url" 'C:\ostrel-check\win\resumed.bin' 2>"$work/resume.log" &&
    cmp -s "$work/site/big.bin" "$work/win/resumed.bin" && [ ! -e "$work/win/resumed.bin.rpc.cfg" ]
}
check "ostrel-fetch.exe resumes after Ctrl+C, byte-exact" fetch_resumed

crc_same() {
  local a b
  a=$(cd "$work/site" && "$linux/tools/crc/ostrel-crc" big.bin package.zip | awk '{print $1}')
  b=$("$run" "$win/tools/crc/ostrel-crc.exe" 'C:\ostrel-check\site\big.bin' 'C:\ostrel-check\site\package.zip' |
    tr -d '\r' | awk '{print $1}')
  [ -n "$a" ] && [ "$a" = "$b" ]
}
check "ostrel-crc.exe prints the same checksum texts" crc_same

unzip_same() {
  local a b
  a=$("$linux/tools/unzip/ostrel-unzip" "$work/site/package.zip" "$work/linux/tree" 2>&1 | tr -d '\r')
  b=$("$run" "$win/tools/unzip/ostrel-unzip.exe" 'C:\ostrel-check\site\package.zip' 'C:\ostrel-check\win\tree' 2>&1 |
    tr -d '\r')
  [ "$a" = "$b" ] || { echo "     linux: $a"; echo "     windows: $b"; return 1; }
  # The same names (Chinese ones included) and the same bytes; modes are Linux-only.
  diff -r "$work/linux/tree" "$work/win/tree" >/dev/null && find "$work/win/tree" | grep -qP '[^\x00-\x7F]'
}
check "ostrel-unzip.exe extracts the same tree, Chinese names included" unzip_same

# Names on the command line that the ANSI code page can't write (Japanese under 936, anything
# but ASCII under 1252) reach the tools whole: they read the UTF-16 command line.
head -c 300000 /dev/urandom >"$work/site/small.bin"
small_crc=$(cd "$work/site" && "$linux/tools/crc/ostrel-crc" small.bin | awk '{print $1}')
unicode_paths() {
  local locale=$1 folder=$2 name=$3 out crc
  export OSTREL_WINE_LOCALE=$locale
  out="C:\\ostrel-check\\$folder\\$name"
  rm -rf "${work:?}/$folder"
  "$run" "$win/tools/fetch/ostrel-fetch.exe" "$base/small.bin" "$out" 2>"$work/unicode.log" ||
    { echo "     ostrel-fetch.exe failed: $(tail -n 1 "$work/unicode.log")"; return 1; }
  cmp -s "$work/site/small.bin" "$work/$folder/$name" || { echo "     not at $folder/$name"; ls "$work/$folder"; return 1; }
  crc=$("$run" "$win/tools/crc/ostrel-crc.exe" "$out" | tr -d '\r')
  [ "$crc" = "$small_crc  $out" ] || { echo "     ostrel-crc.exe: $crc"; return 1; }
  "$run" "$win/tools/unzip/ostrel-unzip.exe" 'C:\ostrel-check\site\package.zip' "C:\\ostrel-check\\$folder\\树" \
    >/dev/null 2>&1 && diff -r "$work/linux/tree" "$work/$folder/树" >/dev/null ||
    { echo "     ostrel-unzip.exe: not the same tree"; return 1; }
}
for locale in zh_CN.UTF-8 en_US.UTF-8; do
  check "the tools take Chinese paths from the command line ($locale)" unicode_paths "$locale" 下载 文件.bin
  check "the tools take a Japanese path from the command line ($locale)" unicode_paths "$locale" 日本語テスト 日本語テスト.bin
done
unset OSTREL_WINE_LOCALE

checks_summary
