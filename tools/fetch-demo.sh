#!/bin/sh
# The downloader alone: serves a 256 MiB demo file on 127.0.0.1 and downloads it with ostrel-fetch (two segments),
# then checks that the copy is identical. Builds ostrel-fetch and ostrel-testserver into build/
# (or $BUILD_DIR).
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
DEMO_DIR=$BUILD_DIR/demo
SITE=$DEMO_DIR/site
OUT=$DEMO_DIR/out
FILE_NAME=OstrelPlatform.zip
SIZE_MIB=256

cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target ostrel-fetch ostrel-testserver
FETCH=$BUILD_DIR/tools/fetch/ostrel-fetch
SERVER=$BUILD_DIR/tools/testserver/ostrel-testserver

mkdir -p "$SITE" "$OUT"
if [ "$(stat -c %s "$SITE/$FILE_NAME" 2>/dev/null || echo 0)" -ne $((SIZE_MIB * 1024 * 1024)) ]; then
  echo "making a ${SIZE_MIB} MiB demo file in $SITE"
  head -c $((SIZE_MIB * 1024 * 1024)) /dev/urandom > "$SITE/$FILE_NAME.part"
  mv "$SITE/$FILE_NAME.part" "$SITE/$FILE_NAME"
fi

PORT_FILE=$DEMO_DIR/port
rm -f "$PORT_FILE"
"$SERVER" --port-file "$PORT_FILE" "$SITE" >"$DEMO_DIR/server.log" 2>&1 &
SERVER_PID=$!
trap 'kill "$SERVER_PID" 2>/dev/null || true; wait "$SERVER_PID" 2>/dev/null || true' EXIT INT TERM

tries=0
while [ ! -s "$PORT_FILE" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 "$SERVER_PID" 2>/dev/null; then
    echo "demo: the test server did not start" >&2
    cat "$DEMO_DIR/server.log" >&2
    exit 1
  fi
  sleep 0.05
done
URL="http://127.0.0.1:$(cat "$PORT_FILE")/$FILE_NAME"

rm -f "$OUT/$FILE_NAME" "$OUT/$FILE_NAME.rpc" "$OUT/$FILE_NAME.rpc.cfg"
echo "ostrel-fetch -n 2 $URL $OUT/$FILE_NAME"
"$FETCH" -n 2 "$URL" "$OUT/$FILE_NAME"

want=$(sha256sum < "$SITE/$FILE_NAME" | cut -d' ' -f1)
got=$(sha256sum < "$OUT/$FILE_NAME" | cut -d' ' -f1)
if [ "$want" != "$got" ]; then
  echo "demo: FAILED, the copy differs (sha256 $got, expected $want)" >&2
  exit 1
fi
echo "demo: OK, $OUT/$FILE_NAME is identical to the served file (sha256 $got)"
