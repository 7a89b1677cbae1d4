# What a whole install under Wine must have left, read from outside the installer. Sourced by
# whole_install.sh; each check prints what is wrong and fails. Settings: PREFIX (the Wine
# prefix), SITE (the demo site), EXPECTED (the package extracted on Linux), WORK.

PLATFORM_DIR='C:\Program Files\Ostrel\OstrelPlatform'
host_path() { sed 's/^[Cc]:\\//; s/\\/\//g; s|^|'"$PREFIX"'/drive_c/|' <<<"$1"; }
INSTALLED=$(host_path "$PLATFORM_DIR")
STAGED=$(host_path 'C:\Program Files\Ostrel\InstOstrel\Downloads')

same_file() { cmp -s "$1" "$2" || { echo "     differs or is missing: ${2#"$PREFIX"/}"; return 1; }; }

# Every file of the package, byte for byte, under its own name (Chinese ones included).
package_installed() {
  local file ok=0 count=0
  while IFS= read -r -d '' file; do
    same_file "$EXPECTED/$file" "$INSTALLED/$file" || ok=1
    count=$((count + 1))
  done < <(cd "$EXPECTED" && find . -type f -print0)
  ((count > 0)) && find "$EXPECTED" -type f | grep -qP '[^\x00-\x7F]' || { echo "     the package has no Chinese names"; ok=1; }
  return $ok
}

# The base service and the three drivers, each the server's file.
components_installed() {
  local ok=0 driver
  same_file "$SITE/download/rjxz/VARDAPRO/QLSFW/NimbrelBaseService.msi" "$INSTALLED/ThirdSoftware/BaseService.msi" || ok=1
  for driver in MarnkeyDrive.exe OstrelCSP.exe WLMDrive.exe; do
    same_file "$SITE/download/dlcpx/DOWN_CENTER/SBQD/$driver" "$INSTALLED/App/$driver" || ok=1
  done
  return $ok
}

# registry_written FACTS WEB_SERVER VERSION SINCE UNTIL: the ten values in `reg query`'s
# words; the install time lies between SINCE and UNTIL ("yyyy-mm-dd HH:MM:SS").
registry_written() {
  local facts=$1 web=$2 version=$3 since=$4 until=$5 line name data ok=0 time
  while IFS='|' read -r name data; do
    line=$(grep -E "^ +$name +REG_SZ +" "$facts" | sed -E 's/^ +[^ ]+( [^ ]+)? +REG_SZ +//')
    [[ $line == "$data" ]] || { echo "     $name: \"$line\", not \"$data\""; ok=1; }
  done <<EOT
DisplayIcon|"$PLATFORM_DIR\\OstrelLauncher.exe"
DisplayName|OstrelPro
DisplayVersion|$version
UninstallString|"$PLATFORM_DIR\\Uninstall\\uninst.exe"
HelpLink|$web
URLInfoAbout|$web
Publisher|Tarnwell
\\([^)]+\\)|$PLATFORM_DIR\\OstrelLauncher.exe
Path|$PLATFORM_DIR\\
EOT
  time=$(grep -E "^ +InstallTime +REG_SZ +" "$facts" | sed -E 's/^ +InstallTime +REG_SZ +//')
  if ! [[ $time =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ && ! $time < $since && ! $time > $until ]]; then
    echo "     InstallTime: \"$time\", not a time from $since to $until"
    ok=1
  fi
  return $ok
}

# The desktop shortcut as lnkinfo reads it.
shortcut_made() {
  local facts=$1
  grep -qE "^\s*Local path\s*:\s*C:\\\\Program Files\\\\Ostrel\\\\OstrelPlatform\\\\OstrelLauncher.exe\s*$" "$facts" &&
    grep -qE "^\s*Description\s*:\s*Tarnwell\s*$" "$facts" || { sed 's/^/     /' "$facts"; return 1; }
}

# page_like_screens PAGE SHOT: the same pictures at the same places as ostrel-screens draws
# them; only the texts (another font) may differ.
page_like_screens() {
  local result
  result=$("$PAGECHECK" compare "$1" "$2" "$WORK/screens" "${2%.png}-marked.png") || return 1
  read -r DIFFERING _ <<<"$result"
  echo "     $1: $result (pixels outside the texts that differ, closest picture)"
  ((DIFFERING <= PAGE_PIXELS_ALLOWED))
}
