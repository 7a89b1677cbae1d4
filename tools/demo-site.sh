# Sourced by the demos (sh or bash), from the project's folder: demo_site_served BUILD_DIR DEMO
# writes the demo site into DEMO/site with the Linux build's ostrel-demosite, serves it with
# tools/demo-servers.sh (stopped again when the demo ends) and exports the server variables.
demo_site_served() {
  mkdir -p "$2/site"
  "$1/tools/demosite/ostrel-demosite" "$2/site" >"$2/site.txt"
  sed 's/^/demo site: /' "$2/site.txt"
  tools/demo-servers.sh stop "$2/site" >/dev/null 2>&1 || true
  eval "$(tools/demo-servers.sh start "$2/site")"
  DEMO_SITE=$2/site
  trap 'tools/demo-servers.sh stop "$DEMO_SITE" >/dev/null 2>&1 || true' EXIT INT TERM
  export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
  echo "servers: download $OSTREL_DOWNLOAD_SERVER, web $OSTREL_WEB_SERVER, base service fallback $OSTREL_WEB_SERVER_ALT"
}
