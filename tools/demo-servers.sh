#!/usr/bin/env bash
# The demonstration servers: one private nginx on 127.0.0.1 that serves a site written by
# ostrel-demosite as the installer's download server, its web server and the web server's
# port-8080 base (port 8080 when it is free, another free port otherwise). The benchmarks serve
# their files with it too (OSTREL_DEMO_RATE=0).
#
#   tools/demo-servers.sh start DIR   start serving DIR/download/ and DIR/web/; prints the exports
#   tools/demo-servers.sh env DIR     print the exports of the running servers
#   tools/demo-servers.sh stop DIR    stop them and wait until no nginx of DIR is left
#
#   eval "$(tools/demo-servers.sh start DIR)"   points the installer at them:
#   OSTREL_DOWNLOAD_SERVER, OSTREL_WEB_SERVER, OSTREL_WEB_SERVER_ALT, each ending in "/".
#
# No system service is involved: nginx runs as `nginx -p DIR -c DIR/nginx.conf` with its
# pid file (nginx.pid), ports, logs (logs/access.log shows each request with its Range)
# and temporary files in DIR. Exit status: 0 done, 1 failed, 2 usage.
#
# OSTREL_DEMO_RATE: bytes per second per connection, as nginx's limit_rate takes it
# (default 512k, so that a download's progress can be watched; 0 for no limit).
set -euo pipefail

die() { echo "demo-servers: $*" >&2; exit 1; }
usage() { echo "usage: demo-servers.sh start|stop|env DIR" >&2; exit 2; }

[[ $# == 2 ]] || usage
ACTION=$1
[[ -d $2 ]] || die "$2 is not a folder (write a site first: ostrel-demosite $2)"
DIR=$(cd "$2" && pwd)
CONF=$DIR/nginx.conf
PID_FILE=$DIR/nginx.pid
PORTS=$DIR/ports
RATE=${OSTREL_DEMO_RATE:-512k}

# --- the running master, if any ----------------------------------------------------------
# Prints the pid of the nginx master started with DIR's configuration; fails when none runs.
running_pid() {
  local pid
  [[ -s $PID_FILE ]] || return 1
  pid=$(<"$PID_FILE")
  [[ $pid =~ ^[0-9]+$ ]] || return 1
  # The master names its configuration in its title; a reused pid does not.
  tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "-c $CONF" || return 1
  echo "$pid"
}

print_exports() {
  local download web alt
  read -r download web alt <"$PORTS" || die "$PORTS is unreadable"
  echo "export OSTREL_DOWNLOAD_SERVER=http://127.0.0.1:$download/"
  echo "export OSTREL_WEB_SERVER=http://127.0.0.1:$web/"
  echo "export OSTREL_WEB_SERVER_ALT=http://127.0.0.1:$alt/"
}

# --- ports ---------------------------------------------------------------------------------
port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# free_port TAKEN...: a port nobody listens on and that is not among TAKEN.
free_port() {
  local port
  for _ in $(seq 1 100); do
    port=$(( 20000 + RANDOM % 40000 ))
    [[ " $* " == *" $port "* ]] && continue
    port_in_use "$port" || { echo "$port"; return 0; }
  done
  die "no free port found on 127.0.0.1"
}

# --- configuration -------------------------------------------------------------------------
# write_conf DOWNLOAD_PORT WEB_PORT ALT_PORT
write_conf() {
  {
    echo "daemon on;"
    echo "worker_processes auto;"
    [[ $(id -u) == 0 ]] && echo "user root;"
    echo "pid \"$PID_FILE\";"
    echo "error_log \"$DIR/logs/error.log\" warn;"
    echo "events { worker_connections 256; }"
    echo "http {"
    echo "  log_format demo '\$server_port \$remote_addr [\$time_local] \"\$request\" \$status '"
    echo "                  '\$body_bytes_sent range=\"\$http_range\" \"\$http_user_agent\"';"
    echo "  access_log \"$DIR/logs/access.log\" demo;"
    echo "  sendfile on;"
    echo "  tcp_nopush on;"
    echo "  default_type application/octet-stream;"
    echo "  limit_rate $RATE;"
    for kind in client_body proxy fastcgi uwsgi scgi; do
      echo "  ${kind}_temp_path \"$DIR/temp/$kind\";"
    done
    echo "  server { listen 127.0.0.1:$1; root \"$DIR/download\"; }  # download server"
    echo "  server { listen 127.0.0.1:$2; root \"$DIR/web\"; }  # web server"
    echo "  server { listen 127.0.0.1:$3; root \"$DIR/web\"; }  # web server, port-8080 base"
    echo "}"
  } >"$CONF"
}

# --- actions -------------------------------------------------------------------------------
start() {
  if running_pid >/dev/null; then
    echo "demo-servers: already running for $DIR" >&2
    print_exports
    return 0
  fi
  [[ $RATE =~ ^[0-9]+[kKmM]?$ ]] || die "OSTREL_DEMO_RATE must be a number of bytes, with k or m (like 512k)"
  [[ -d $DIR/download && -d $DIR/web ]] || die "$DIR holds no site (write one first: ostrel-demosite $DIR)"
  local nginx attempt download web alt
  nginx=$(command -v nginx || echo /usr/sbin/nginx)
  [[ -x $nginx ]] || die "nginx is missing (Debian package 'nginx-light'; see tools/setup.sh)"
  mkdir -p "$DIR/logs" "$DIR/temp"
  rm -f "$PID_FILE" "$PORTS"
  for attempt in 1 2 3 4 5; do
    download=$(free_port)
    web=$(free_port "$download")
    if (( attempt == 1 )) && ! port_in_use 8080; then alt=8080; else alt=$(free_port "$download" "$web"); fi
    write_conf "$download" "$web" "$alt"
    # The listening sockets are open before nginx returns; it fails here when one is taken.
    if "$nginx" -p "$DIR/" -c "$CONF" -e "$DIR/logs/error.log" 2>"$DIR/logs/start.log"; then
      for _ in $(seq 1 100); do  # the master writes its pid file just after it detaches
        running_pid >/dev/null && break
        sleep 0.1
      done
      running_pid >/dev/null || die "nginx started but wrote no pid file; see $DIR/logs/error.log"
      echo "$download $web $alt" >"$PORTS"
      echo "demo-servers: serving $DIR on 127.0.0.1 ports $download (download), $web (web), $alt (web, 8080 base)" >&2
      print_exports
      return 0
    fi
    grep -q "Address already in use" "$DIR/logs/start.log" || break
  done
  cat "$DIR/logs/start.log" >&2
  die "nginx did not start"
}

stop() {
  local pid signal
  if ! pid=$(running_pid); then
    rm -f "$PID_FILE" "$PORTS"
    echo "demo-servers: not running for $DIR" >&2
    return 0
  fi
  # Graceful stop first, then the fast one; the master leaves only after its workers.
  for signal in QUIT TERM; do
    kill -"$signal" "$pid" 2>/dev/null || true
    for _ in $(seq 1 100); do
      # A master that has exited (even one left unreaped) has no command line any more.
      running_pid >/dev/null || { rm -f "$PORTS"; echo "demo-servers: stopped" >&2; return 0; }
      sleep 0.1
    done
  done
  die "nginx (pid $pid) did not stop"
}

case $ACTION in
  start) start ;;
  stop) stop ;;
  env)
    running_pid >/dev/null || die "not running for $DIR (tools/demo-servers.sh start $DIR)"
    print_exports
    ;;
  *) usage ;;
esac
