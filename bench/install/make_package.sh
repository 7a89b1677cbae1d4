#!/usr/bin/env bash
# make_package.sh TREE ARCHIVE: a platform-like package of about 300 MiB in about 2000 files
# (one in eight under a Chinese name, in Chinese folders), mixed random data and text, zipped
# with Info-ZIP. TREE is scratch space, removed at the end.
set -euo pipefail
tree=$1 archive=$2
RANDOM=7
rm -rf "$tree"
for ((i = 0; i < 2000; i++)); do
  dir=$tree/pkg/m$((i % 7))/p$((i % 6))
  name=f$i
  if ((i % 8 == 0)); then dir=$tree/pkg/帮助/模块$((i % 5)); name=说明$i; fi
  mkdir -p "$dir"
  if ((i % 20 == 0)); then size=$((1536 * 1024 + RANDOM * 96)); else size=$((8 * 1024 + RANDOM * 2)); fi
  if ((i % 10 < 4)); then
    head -c "$size" /dev/urandom >"$dir/$name.bin"
  elif ((i % 10 < 7)); then
    { od -An -tx1 -v -N $((size / 3 + 1)) /dev/urandom | head -c "$size" >"$dir/$name.txt"; } || true
  else
    { seq -f "line %g: step done, status ok, elapsed $RANDOM ms" 1 $((size / 40 + 1)) |
        head -c "$size" >"$dir/$name.log"; } || true
  fi
done
(cd "$tree/pkg" && zip -qr "$archive.tmp" .) && mv "$archive.tmp" "$archive"
rm -rf "$tree"
