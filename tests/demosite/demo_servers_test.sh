#!/usr/bin/env bash
# demo_servers_test.sh OSTREL_DEMOSITE DEMO_SERVERS_SH
#
# Writes a site, starts the demonstration servers on it, asks each of the three bases for
# the manifest and the package the way the installer does (GET, HEAD for the size, a ranged
# GET), then stops them: no process of that nginx may be left. Exit 77 (skipped) when nginx
# or curl is missing.
set -euo pipefail

DEMOSITE=$1
SERVERS=$2
NGINX=$(command -v nginx || echo /usr/sbin/nginx)
[[ -x $NGINX ]] || { echo "nginx is missing; skipped"; exit 77; }
command -v curl >/dev/null || { echo "curl is missing; skipped"; exit 77; }

# Everything talks to 127.0.0.1 directly.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1

WORK=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-demo-servers.XXXXXX")
SITE=$WORK/site
cleanup() {
  bash "$SERVERS" stop "$SITE" >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$DEMOSITE" "$SITE" >"$WORK/site.txt"
package=$(sed -n 's/^url: *//p' "$WORK/site.txt")
[[ -n $package ]] || fail "ostrel-demosite named no package"
folder=dlcpx/DOWN_CENTER/OSTREL/OSTREL
size=$(stat -c %s "$SITE/download/$folder/$package")

exports=$(bash "$SERVERS" start "$SITE")
eval "$exports"
[[ $(bash "$SERVERS" env "$SITE") == "$exports" ]] || fail "env prints other values than start"
[[ $(bash "$SERVERS" start "$SITE" 2>/dev/null) == "$exports" ]] || fail "a second start changed the servers"
master=$(<"$SITE/nginx.pid")
workers=$(ps -o pid= --ppid "$master")
[[ -n $workers ]] || fail "nginx has no worker"

bases=("$OSTREL_DOWNLOAD_SERVER" "$OSTREL_WEB_SERVER" "$OSTREL_WEB_SERVER_ALT")
[[ $(printf '%s\n' "${bases[@]}" | sort -u | wc -l) == 3 ]] || fail "the three bases are not distinct: ${bases[*]}"
for base in "${bases[@]}"; do
  [[ $base =~ ^http://127\.0\.0\.1:[0-9]+/$ ]] || fail "base $base"
  curl -sf -o "$WORK/manifest" "$base$folder/OSTREL.XML" || fail "$base: no manifest"
  cmp -s "$WORK/manifest" "$SITE/web/$folder/OSTREL.XML" || fail "$base: another manifest"

  url=$base$folder/$package
  head=$(curl -sfI "$url" | tr -d '\r') || fail "$base: HEAD of the package failed"
  grep -qix "content-length: $size" <<<"$head" || fail "$base: HEAD without Content-Length $size: $head"
  status=$(curl -s -o "$WORK/part" -w '%{http_code}' -r 1000-1999 "$url")
  [[ $status == 206 ]] || fail "$base: a ranged GET gave $status"
  cmp -s "$WORK/part" <(tail -c +1001 "$SITE/download/$folder/$package" | head -c 1000) ||
    fail "$base: the range holds other bytes"
done

if command -v ss >/dev/null; then
  listening=$(ss -Hltnp | grep "pid=$master," | awk '{ print $4 }')
  [[ $(wc -l <<<"$listening") == 3 ]] || fail "nginx listens on: $listening"
  ! grep -v '^127\.0\.0\.1:' <<<"$listening" || fail "nginx listens beyond 127.0.0.1"
fi

bash "$SERVERS" stop "$SITE" 2>/dev/null
for pid in $master $workers; do
  state=$(ps -o stat= -p "$pid" || true)
  [[ -z $state || $state == Z* ]] || fail "nginx process $pid is still running"
done
! bash "$SERVERS" env "$SITE" 2>/dev/null || fail "env still answers after stop"
echo "demo servers: three bases served the site and stopped"
