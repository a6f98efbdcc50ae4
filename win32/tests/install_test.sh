#!/usr/bin/env bash
# Installs Tarvelo silently under Wine, checks the files, the Start-menu shortcut and the
# entry in the user's installed programs, uninstalls silently and checks nothing is left.
# usage: install_test.sh WINE INSTALLER ZIP PROGRAM
set -euo pipefail
wine=$1 installer=$2 zip=$3 program=$4
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"  # no menu entries on the host

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
windows() { "$wine" "$@" 2>/dev/null | tr -d '\r'; }
unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo'
value() { windows reg query "$key" /v "$1" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
wait_until() {
  local _
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  return 1
}

# The portable zip holds the program, the licence and the read-me.
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listing" = "LICENSE.txt readme.txt tarvelo.exe " ] || fail "zip holds: $listing"

local_app_data=$(windows cmd /c 'echo %LOCALAPPDATA%')
app_data=$(windows cmd /c 'echo %APPDATA%')
folder=$(unix_path "$local_app_data\\Programs\\Tarvelo")
shortcut=$(unix_path "$app_data\\Microsoft\\Windows\\Start Menu\\Programs\\Tarvelo.lnk")
[ -n "$folder" ] && [ -n "$shortcut" ] || fail "no user folders in the Wine prefix"

"$wine" "$installer" /S
for file in tarvelo.exe LICENSE.txt readme.txt Uninstall.exe; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
cmp -s "$folder/tarvelo.exe" "$program" || fail "the installed tarvelo.exe is not the one built"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
strings -e l "$shortcut" | grep -qi 'Programs\\Tarvelo\\tarvelo.exe' ||
  fail "the shortcut does not start the installed program"
value DisplayName | grep -qx Tarvelo || fail "no entry in the installed programs"
value UninstallString | grep -qi 'Programs\\Tarvelo\\Uninstall.exe' || fail "no uninstall command"
value DisplayIcon | grep -qi 'tarvelo.exe' || fail "no icon for the entry"
if windows reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo' | grep -q .; then
  fail "the installer wrote to the machine's programs"
fi

# The uninstaller copies itself away and returns at once: wait for it to finish.
"$wine" "$folder/Uninstall.exe" /S
wait_until test ! -e "$folder" || fail "left behind: $(ls -A "$folder" | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
wait_until test -z "$(value DisplayName)" || fail "the uninstall entry is left"
echo "installed, checked and uninstalled"
