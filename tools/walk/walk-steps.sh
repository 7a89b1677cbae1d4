# shellcheck shell=bash
# The steps of an install clicked through, which walk-install.sh and the tests put together:
# start, the start and folder pages, the installing page, the done page, a close. Sourced after
# window-driver.sh. Each step shoots the page it leaves into DRIVER_OUT (AZ.png, SZ.png,
# XZ.png, WC.png) and notes what it saw in DRIVER_OUT/walk.txt; figures land in
# FIRST_PAGE_MS (start to the first painted page), INSTALL_MS (from "立即安装" to the done
# page) and PEAK_MEMORY (the installer process's VmHWM on the done page).

# walk_start COMMAND...: starts the installer (its output into installer.log) and waits for
# the start page.
walk_start() {
  local started
  started=$(now_ms)
  "$@" >"$DRIVER_OUT/installer.log" 2>&1 &
  INSTALLER_PID=$!
  driver_wait AZ 120 || return 1
  FIRST_PAGE_MS=$(($(now_ms) - started))
  driver_locate || return 1
  driver_note "start page after $FIRST_PAGE_MS ms (window $WIN_SIZE at $WIN_X,$WIN_Y)"
}

# walk_begin_install: "极速安装", then "立即安装" on the folder page.
walk_begin_install() {
  driver_away
  driver_shot "$DRIVER_OUT/AZ.png" || return 1
  driver_click lblAZ && driver_wait SZ 30 || return 1
  driver_away
  driver_shot "$DRIVER_OUT/SZ.png" || return 1
  driver_click lblLJAZ || return 1
  INSTALL_STARTED=$(now_ms)
  driver_away
  driver_note "clicked 立即安装"
}

# walk_installing FILL SECONDS: until the installing page shows a fill at least FILL pixels wide.
walk_installing() {
  driver_wait XZ "$2" "$1" || return 1
  driver_shot "$DRIVER_OUT/XZ.png" || return 1
  driver_note "installing page with a fill of $(driver_fill) pixels"
}

# walk_to_done SECONDS: until the done page; the installing page is shot on the way when it
# shows some progress (a reused package may pass it quicker than a poll).
walk_to_done() {
  local deadline=$((SECONDS + $1)) shown
  while ((SECONDS < deadline)); do
    shown=$(driver_page)
    [[ $shown == WC ]] && break
    if [[ $shown == XZ && ! -e $DRIVER_OUT/XZ.png ]] && (($(driver_fill) >= 100)); then
      cp "$DRIVER_OUT/.now.png" "$DRIVER_OUT/XZ.png"
    fi
    if driver_box_open || ! kill -0 "$INSTALLER_PID" 2>/dev/null; then break; fi
    sleep 0.2
  done
  driver_wait WC 1 || return 1
  INSTALL_MS=$(($(now_ms) - INSTALL_STARTED))
  PEAK_MEMORY=$(driver_peak_memory)
  driver_note "done page ${INSTALL_MS} ms after 立即安装; peak memory so far ${PEAK_MEMORY:-unknown}"
  driver_away
  driver_shot "$DRIVER_OUT/WC.png"
}

# walk_close CONTROL: a close control (or "alt+F4": the keys, on the window a click has given
# the keyboard), then the installer's end.
walk_close() {
  if [[ $1 == alt+F4 ]]; then
    driver_locate && xdotool mousemove $((WIN_X + 320)) $((WIN_Y + 240)) click 1 sleep 0.3 key alt+F4 || return 1
  else
    driver_click "$1" || return 1
  fi
  driver_wait_end 30 || return 1
  driver_note "closed with $1; the installer ended with exit code $INSTALLER_STATUS"
  [[ $INSTALLER_STATUS == 0 ]]
}

# walk_whole SECONDS COMMAND...: a whole install: started by COMMAND, "极速安装", "立即安装", the
# done page within SECONDS, its close cross (which registers the platform).
walk_whole() {
  local seconds=$1
  shift
  walk_start "$@" && walk_begin_install && walk_to_done "$seconds" && walk_close lblClose4
}

# walk_give_up: after a walk that stopped: the installer, if it still runs, is shot (stuck.png)
# and ended.
walk_give_up() {
  kill -0 "${INSTALLER_PID:-0}" 2>/dev/null || return 0
  driver_shot "$DRIVER_OUT/stuck.png"
  kill "$INSTALLER_PID"
  wait "$INSTALLER_PID"
}
