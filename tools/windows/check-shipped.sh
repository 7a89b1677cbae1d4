#!/bin/bash
# The Windows programs as they ship: each at most 4 MiB, stripped (no symbol table, no debug
# section), with a .gnu_debuglink naming PROGRAM.debug beside it, which holds the debug
# information, and importing nothing but DLLs that every Windows has (Wine would load DLLs of
# its own that a Windows lacks: the imports are read from the file). Prints "N passed, N failed".
#
# Usage: check-shipped.sh OBJDUMP PROGRAM.exe...
set -uo pipefail
objdump=$1
shift
source "$(dirname "$0")/checks.sh"
max_size=$((4 * 1024 * 1024))
system_dlls=(advapi32 bcrypt comctl32 comdlg32 crypt32 gdi32 kernel32 msvcrt ntdll ole32 oleaut32 secur32
  shell32 shlwapi user32 uxtheme version winhttp winmm ws2_32)
system_dlls=" ${system_dlls[*]/%/.dll} "

small() {
  local size
  size=$(stat -c %s "$1")
  echo "     $size bytes"
  ((size <= max_size))
}

stripped() {
  local headers sections
  headers=$("$objdump" -p "$1")
  grep -q 'symbols stripped' <<<"$headers" || { echo "     it has a symbol table"; return 1; }
  sections=$("$objdump" -h "$1" | awk '$2 ~ /^\./ { print $2 }')
  if grep -q '^\.debug' <<<"$sections"; then echo "     debug sections: $(grep '^\.debug' <<<"$sections" | xargs)"; return 1; fi
}

symbols_beside() {
  local link
  # The section's bytes from objdump's hex columns: the file name up to its NUL.
  link=$("$objdump" -s -j .gnu_debuglink "$1" 2>/dev/null |
    awk '/^ [0-9a-f]+ / { for (i = 2; i <= 5 && $i ~ /^[0-9a-f]+$/; i++) printf "%s", $i }' |
    xxd -r -p | tr '\0' '\n' | head -n 1)
  [[ $link == "$(basename "$1").debug" ]] || { echo "     .gnu_debuglink names \"$link\""; return 1; }
  [[ -f $1.debug ]] && [[ $("$objdump" -h "$1.debug") == *" .debug_info "* ]] || { echo "     $1.debug has no .debug_info"; return 1; }
}

system_imports() {
  local dll bad=
  for dll in $("$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    [[ $system_dlls == *" $dll "* ]] || bad="$bad $dll"
  done
  [[ -z $bad ]] || { echo "     imports$bad"; return 1; }
}

for exe in "$@"; do
  name=$(basename "$exe")
  check "$name is at most 4 MiB" small "$exe"
  check "$name is stripped" stripped "$exe"
  check "$name's symbols are in $name.debug beside it" symbols_beside "$exe"
  check "$name imports only system DLLs" system_imports "$exe"
done
checks_summary
