#!/bin/sh
# tools/setup.sh on a machine where packages are missing, with a fake package tool on PATH:
# every path exits 0 on success and non-zero only when the install fails, and a policy-rc.d
# that was there before stays while one of our own is removed again.
set -u
SETUP=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
policy=$work/policy-rc.d
failures=0

# dpkg-query reports every package as missing unless $work/installed exists; apt-get records
# its calls and whether the policy file was in place, and fails when $work/fail-install exists.
cat > "$work/bin/dpkg-query" <<FAKE
#!/bin/sh
[ -e "$work/installed" ] && printf 'install ok installed'
exit 0
FAKE
cat > "$work/bin/apt-get" <<FAKE
#!/bin/sh
echo "apt-get \$*" >> "$work/calls"
[ -e "$policy" ] && echo "policy present" >> "$work/calls"
[ "\$1" = install ] && [ -e "$work/fail-install" ] && exit 100
exit 0
FAKE
printf '#!/bin/sh\nexec "$@"\n' > "$work/bin/sudo"
chmod +x "$work/bin/"*

run() {  # name, expected status
  rm -f "$work/calls"
  PATH="$work/bin:$PATH" OSTREL_POLICY_RC=$policy OSTREL_SETUP_WINDOWS=0 sh "$SETUP" </dev/null >"$work/out" 2>&1
  status=$?
  if [ "$status" -ne "$2" ]; then
    echo "FAIL: $1: exit $status, expected $2"; cat "$work/out"; failures=$((failures + 1))
  fi
}
check() {  # name, condition...
  name=$1; shift
  if ! "$@"; then echo "FAIL: $name"; failures=$((failures + 1)); fi
}

printf '#!/bin/sh\nexit 101\n' > "$policy"
run "a policy-rc.d of the image's own" 0
check "the image's policy-rc.d stays" test -e "$policy"
check "apt-get install ran" grep -q "apt-get install" "$work/calls"

rm -f "$policy"
run "no policy-rc.d before" 0
check "our policy-rc.d was in place during the install" grep -q "policy present" "$work/calls"
check "our policy-rc.d is removed afterwards" test ! -e "$policy"

touch "$work/fail-install"
run "a failing install" 100
check "our policy-rc.d is removed after a failure too" test ! -e "$policy"
rm -f "$work/fail-install"

touch "$work/installed"
run "everything installed" 0
check "nothing installed when nothing is missing" test ! -e "$work/calls"

[ "$failures" -eq 0 ] && echo "setup.sh: all cases passed"
exit "$failures"
