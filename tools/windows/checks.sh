# Counted checks for the scripts that compare from outside (sourced, bash):
#   check NAME COMMAND...   runs COMMAND, prints "ok   NAME" or "FAIL NAME" and counts it
#   checks_summary          prints "N passed, N failed"; its status is 0 when none failed
passed=0
failed=0
check() {
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}
checks_summary() {
  echo "$passed passed, $failed failed"
  [[ $failed == 0 ]]
}
