# The runs of whole_install.sh: each a session of InstKeloPro.exe under Wine on the virtual
# display, clicked through; shots and notes in $WORK/runs/NAME. Sourced after
# install_checks.sh and the walk's steps (tools/walk/).

ACCESS_LOG=$SITE/logs/access.log
PACKAGE_PATH=/dlcpx/DOWN_CENTER/OSTREL/OSTREL/

new_run() {
  DRIVER_OUT=$WORK/runs/$1
  mkdir -p "$DRIVER_OUT"
  : >"$DRIVER_OUT/walk.txt"
}
INSTALLER=("$tools/windows/run-installer.sh" "$PREFIX")
start_installer() { walk_start "${INSTALLER[@]}"; }
whole_walk() { walk_whole 180 "${INSTALLER[@]}"; }
# A run that went wrong: the installer, if it still runs, is ended and its notes are shown.
give_up() {
  walk_give_up
  sed 's/^/     /' "$DRIVER_OUT/walk.txt"
  return 1
}
use_servers() { export OSTREL_DOWNLOAD_SERVER=$1 OSTREL_WEB_SERVER=$2 OSTREL_WEB_SERVER_ALT=$3; }
use_nginx() { use_servers "$NGINX_DOWNLOAD" "$NGINX_WEB" "$NGINX_ALT"; }
# The package's GET requests nginx saw: "STATUS BYTES RANGE" a line.
package_gets() {
  grep -F "\"GET $PACKAGE_PATH$PACKAGE " "$ACCESS_LOG" | sed -E 's/.*" ([0-9]+) ([0-9]+) range="([^"]*)".*/\1 \2 \3/'
}

run_fresh() {
  new_run fresh
  FRESH=$DRIVER_OUT
  FRESH_SINCE=$(date '+%F %T')
  use_nginx
  whole_walk || give_up || return 1
  FRESH_UNTIL=$(date '+%F %T')
  sed 's/^/     /' "$FRESH/walk.txt"
  [[ $WIN_SIZE == 642x482 ]] || { echo "     the window measures $WIN_SIZE, not 642x482"; return 1; }
  "$tools/walk/install-facts.sh" "$PREFIX" "$FRESH"
}

# The platform folder gone, the package kept: it is checked and extracted, never fetched.
run_reuse() {
  new_run reuse
  rm -rf "$INSTALLED"
  : >"$ACCESS_LOG"
  whole_walk || give_up || return 1
  package_installed || return 1
  grep -q "GET ${PACKAGE_PATH}OSTREL.XML" "$ACCESS_LOG" || { echo "     nginx logged no manifest request"; return 1; }
  [[ -z $(grep -F "$PACKAGE_PATH$PACKAGE" "$ACCESS_LOG") ]] || { echo "     the package was asked for"; return 1; }
}

# The test server serves the package slowly and is killed while the job runs: both segments
# are cut, and the server is back before the single request that follows a second later.
run_cut() {
  new_run cut
  rm -rf "$INSTALLED" "$STAGED"
  local port_file=$WORK/cut.port port base
  "$linux/tools/testserver/ostrel-testserver" --port-file "$port_file" "$SITE/download" >/dev/null 2>&1 &
  SERVER_PID=$!
  for _ in $(seq 100); do [[ -s $port_file ]] && break; sleep 0.1; done
  port=$(<"$port_file")
  base=http://127.0.0.1:$port/fault/rate=400000/
  use_servers "$base" "$base" "$base"
  start_installer && walk_begin_install && walk_installing 30 60 || { use_nginx; give_up; return 1; }
  kill -KILL "$SERVER_PID"
  wait "$SERVER_PID" 2>/dev/null
  "$linux/tools/testserver/ostrel-testserver" --port "$port" "$SITE/download" >/dev/null 2>&1 &
  SERVER_PID=$!
  driver_note "the server was cut off and started again"
  walk_to_done 180 && walk_close lblClose4 || { use_nginx; give_up; return 1; }
  use_nginx
  kill "$SERVER_PID" && wait "$SERVER_PID" 2>/dev/null
  SERVER_PID=
  package_installed && components_installed || return 1
  [[ -e $STAGED/$PACKAGE.rpc.cfg ]] || { echo "     the cut job left no state file"; return 1; }
}

# run_close_installing WAY: a close control or "alt+F4" while the package downloads.
run_close_installing() {
  new_run "close-$1"
  rm -rf "$INSTALLED" "$STAGED"
  start_installer && walk_begin_install && walk_installing 100 60 && walk_close "$1" || give_up || return 1
  ls "$STAGED" | sed 's/^/     left: /'
  [[ -e $STAGED/$PACKAGE.rpc && -e $STAGED/$PACKAGE.rpc.cfg && ! -e $STAGED/$PACKAGE ]]
}

# Every package request asks for the rest of a segment, never from the start; fewer bytes
# than the package has.
run_resume() {
  new_run resume
  : >"$ACCESS_LOG"
  whole_walk || give_up || return 1
  package_installed || return 1
  local gets bytes size
  gets=$(package_gets)
  echo "$gets" | sed 's/^/     GET: /'
  [[ -n $gets ]] || { echo "     no package request"; return 1; }
  ! grep -qvE '^206 [0-9]+ bytes=[1-9][0-9]*-' <<<"$gets" || { echo "     a request not for the rest of a segment"; return 1; }
  bytes=$(awk '{ sum += $2 } END { print sum }' <<<"$gets")
  size=$(stat -c %s "$SITE/download$PACKAGE_PATH$PACKAGE")
  ((bytes < size)) || { echo "     $bytes bytes sent for a package of $size"; return 1; }
}
