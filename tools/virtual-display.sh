# shellcheck shell=bash
# A private virtual display (Xvfb, 1024 x 768, 24 bits, no TCP) whose screen Xvfb keeps in a
# file, for the window driver (tools/walk/) and tools/with-xvfb.sh. Sourced (bash).
#   display_start DIR   starts it (Xvfb picks a free display number), exports DISPLAY, sets
#                       DRIVER_FRAMEBUFFER to DIR/Xvfb_screen0 and XVFB_PID
#   display_stop        stops it

# shellcheck disable=SC2034  # DRIVER_FRAMEBUFFER is the window driver's
display_start() {
  local dir=$1 fifo number
  mkdir -p "$dir"
  fifo=$dir/.displayfd
  rm -f "$fifo" && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -fbdir "$dir" 3>"$fifo" >"$dir/xvfb.log" 2>&1 &
  XVFB_PID=$!
  read -r -t 20 number <"$fifo" || number=
  rm -f "$fifo"
  if [[ -z $number ]]; then
    echo "Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
    return 1
  fi
  export DISPLAY=:$number
  DRIVER_FRAMEBUFFER=$dir/Xvfb_screen0
}

display_stop() {
  [[ -n ${XVFB_PID:-} ]] || return 0
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}
