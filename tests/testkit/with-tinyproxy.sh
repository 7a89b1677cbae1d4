#!/bin/bash
# Runs a command with two tinyproxy instances on 127.0.0.1 (for the Windows test programs, which
# can't start a Linux program from inside Wine): OSTREL_TEST_PROXY names a plain one,
# OSTREL_TEST_PROXY_407 one that answers 407 to requests without credentials. Each has its own
# configuration file and log in a temporary folder; both are ended when the command ends, whose
# exit code this returns.
#
# Usage: with-tinyproxy.sh COMMAND [ARGS...]
set -euo pipefail
command -v tinyproxy >/dev/null || { echo "with-tinyproxy.sh: tinyproxy is missing (tools/setup.sh)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-proxy.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

answers() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# start NAME [BasicAuth line]: a proxy on a free port; prints its URL.
start() {
  local name=$1 extra=${2:-} port pid
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    port=$((20000 + RANDOM % 40000))
    answers "$port" && continue  # taken
    printf 'Port %s\nListen 127.0.0.1\nTimeout 30\nMaxClients 64\nAllow 127.0.0.1\nLogFile "%s"\nLogLevel Connect\n%s\n' \
      "$port" "$work/$name.log" "$extra" >"$work/$name.conf"
    tinyproxy -d -c "$work/$name.conf" >"$work/$name.out" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      if answers "$port"; then pids+=("$pid"); URL=http://127.0.0.1:$port; return 0; fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  echo "with-tinyproxy.sh: tinyproxy did not start; $(cat "$work/$name.out")" >&2
  exit 1
}

start plain; export OSTREL_TEST_PROXY=$URL
start auth "BasicAuth ostrel secret"; export OSTREL_TEST_PROXY_407=$URL
status=0
"$@" || status=$?
exit $status
