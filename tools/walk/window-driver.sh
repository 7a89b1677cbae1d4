# shellcheck shell=bash
# The installer's real window driven like a person would: found by its title, clicked at its
# controls' places (the window table's boxes, past the 1-pixel frame), its page told by what
# the screen shows. Works for any host of the window (the Linux program, InstKeloPro.exe under
# Wine). Sourced; needs xdotool, a virtual display whose screen Xvfb keeps in a file, and
# these settings:
#   DRIVER_PAGECHECK    ostrel-pagecheck (Linux build)
#   DRIVER_REFS         the folder ostrel-screens wrote the page pictures into
#   DRIVER_FRAMEBUFFER  Xvfb's screen file (tools/virtual-display.sh sets it)
#   DRIVER_OUT          where shots, the installer's output and notes go
# Times are milliseconds; every wait has a generous bound and fails with a note when it passes.

# shellcheck disable=SC2034  # WIN_SIZE, INSTALLER_STATUS and the like are for the walk's steps and tests
DRIVER_TITLE="极速安装"
DRIVER_BOX_TITLE="提示"
LAST_PAGE=none

now_ms() { date +%s%3N; }
driver_note() { echo "$*" >>"$DRIVER_OUT/walk.txt"; }

# driver_locate: the window's id and place into WIN_ID, WIN_X, WIN_Y; fails when there is none.
driver_locate() {
  local id geometry
  id=$(xdotool search --onlyvisible --name "^$DRIVER_TITLE\$" 2>/dev/null | head -n 1)
  [[ -n $id ]] || return 1
  geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || return 1
  WIN_ID=$id
  WIN_X=$(sed -n 's/^X=//p' <<<"$geometry")
  WIN_Y=$(sed -n 's/^Y=//p' <<<"$geometry")
  WIN_SIZE=$(sed -n 's/^WIDTH=//p' <<<"$geometry")x$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
}

# driver_shot FILE: the window as the screen shows it, frame included (642 x 482).
driver_shot() {
  driver_locate && "$DRIVER_PAGECHECK" shot "$DRIVER_FRAMEBUFFER" "$WIN_X" "$WIN_Y" 642 482 "$1"
}

# driver_page: the page on show (AZ, SZ, XZ, WC) or "none".
driver_page() {
  driver_shot "$DRIVER_OUT/.now.png" 2>/dev/null && "$DRIVER_PAGECHECK" which "$DRIVER_OUT/.now.png" "$DRIVER_REFS" ||
    echo none
}

# driver_fill: the progress fill's width on the last shot driver_page took.
driver_fill() { "$DRIVER_PAGECHECK" fill "$DRIVER_OUT/.now.png" 2>/dev/null || echo 0; }

driver_box_open() { [[ -n $(xdotool search --onlyvisible --name "^$DRIVER_BOX_TITLE\$" 2>/dev/null) ]]; }

# driver_away: the pointer off the window, so that no button shows its hover picture and the
# pointer itself (which Xvfb draws into its screen) is not on the window.
driver_away() { xdotool mousemove 2 2 sleep 0.3; }

# driver_click CONTROL: the pointer to the control's middle, a left click, the pointer away.
driver_click() {
  local x y
  read -r x y < <("$DRIVER_PAGECHECK" where "$1") && driver_locate || return 1
  xdotool mousemove $((WIN_X + 1 + x)) $((WIN_Y + 1 + y)) sleep 0.2 click 1 sleep 0.1 mousemove 2 2
}

# driver_wait PAGE SECONDS [FILL]: until PAGE is on show (with a fill at least FILL pixels
# wide); fails at once when a box opens (it is shot as box.png) or the installer ends.
driver_wait() {
  local page=$1 deadline=$((SECONDS + $2)) fill=${3:-0} shown
  while ((SECONDS < deadline)); do
    shown=$(driver_page)
    if [[ $shown == "$page" ]] && { ((fill == 0)) || (($(driver_fill) >= fill)); }; then return 0; fi
    if driver_box_open; then
      driver_shot "$DRIVER_OUT/box.png" || true
      driver_note "a box opened while waiting for page $page (box.png)"
      return 1
    fi
    if ! kill -0 "$INSTALLER_PID" 2>/dev/null; then
      driver_note "the installer ended while waiting for page $page"
      return 1
    fi
    LAST_PAGE=$shown
    sleep 0.2
  done
  driver_note "page $page did not come within $2 s (the window showed: $LAST_PAGE)"
  return 1
}

# driver_wait_end SECONDS: until the installer's process has ended; its exit code into
# INSTALLER_STATUS.
driver_wait_end() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$INSTALLER_PID" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.2; done
  if kill -0 "$INSTALLER_PID" 2>/dev/null; then
    driver_note "the installer did not end within $1 s"
    return 1
  fi
  wait "$INSTALLER_PID"
  INSTALLER_STATUS=$?
}

# driver_peak_memory: the peak resident memory (VmHWM) of the installer's process so far.
driver_peak_memory() { sed -n 's/^VmHWM:[[:space:]]*//p' "/proc/$INSTALLER_PID/status" 2>/dev/null; }
