#!/usr/bin/env bash
# Installs Tarvelo silently under Wine, checks the files, the Start-menu shortcut and the
# entry in the user's installed programs, uninstalls silently and checks nothing is left.
# Then the same into a folder of the user's choice, an upgrade there, and an upgrade and
# an uninstall while the program runs. Also the installer's version information and its
# refusal of a Windows older than 10 version 1607.
# usage: install_test.sh WINE INSTALLER ZIP PROGRAM VERSION
set -euo pipefail
wine=$1 installer=$2 zip=$3 program=$4 version=$5
here=$(dirname "$0")
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"  # no menu entries on the host

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
windows() { "$wine" "$@" 2>/dev/null | tr -d '\r'; }
unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
run() { "$wine" "$@" >/dev/null 2>&1; }
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

# What Windows shows in the installer file's properties.
info=$(wrestool -x --raw -t 16 "$installer" | strings -e l)
field() { printf '%s\n' "$info" | sed -n "/^$1\$/{n;p;q}"; }
[ "$(field ProductName)" = Tarvelo ] || fail "installer product name: $(field ProductName)"
for name in ProductVersion FileVersion; do
  [ "$(field $name)" = "$version" ] || fail "installer $name: $(field $name)"
done
[[ "$(field LegalCopyright)" == 'Copyright '* ]] || fail "installer copyright: $(field LegalCopyright)"

# The Windows version Wine reports to the installer alone.
windows_version() {
  windows reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$installer")" /v Version /d "$1" /f >/dev/null
}

local_app_data=$(windows cmd /c 'echo %LOCALAPPDATA%')
app_data=$(windows cmd /c 'echo %APPDATA%')
folder=$(unix_path "$local_app_data\\Programs\\Tarvelo")
shortcut=$(unix_path "$app_data\\Microsoft\\Windows\\Start Menu\\Programs\\Tarvelo.lnk")
[ -n "$folder" ] && [ -n "$shortcut" ] || fail "no user folders in the Wine prefix"

# A Windows older than the minimum is refused before anything is written.
windows_version win81
if run "$installer" /S; then fail "the installer ran on Windows 8.1"; fi
[ ! -e "$folder" ] && [ -z "$(value DisplayName)" ] || fail "Windows 8.1 got an install"
windows_version win10

run "$installer" /S || fail "the installer failed"
for file in tarvelo.exe LICENSE.txt readme.txt Uninstall.exe; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
cmp -s "$folder/tarvelo.exe" "$program" || fail "the installed tarvelo.exe is not the one built"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
strings -e l "$shortcut" | grep -i 'Programs\\Tarvelo\\tarvelo.exe' >/dev/null ||
  fail "the shortcut does not start the installed program"
# Read whole before matching: grep -q stopping early would break the pipe under pipefail.
[ "$(value DisplayName)" = Tarvelo ] || fail "no entry in the installed programs"
[[ "$(value UninstallString)" == *'Programs\Tarvelo\Uninstall.exe'* ]] || fail "no uninstall command"
[[ "$(value DisplayIcon)" == *'tarvelo.exe'* ]] || fail "no icon for the entry"
# The installed size in KiB, give or take the rounding of each file.
size=$(($(value EstimatedSize))) installed=$(($(cat "$folder"/* | wc -c) / 1024))
[ "$size" -ge $((installed - 4)) ] && [ "$size" -le $((installed + 4)) ] ||
  fail "installed size $size KiB, the files hold $installed KiB"
if run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo'; then
  fail "the installer wrote to the machine's programs"
fi

# The uninstaller copies itself away and returns at once: wait for it to finish.
uninstall() {
  "$wine" "$1/Uninstall.exe" /S
  wait_until test ! -e "$1" || fail "left behind: $(ls -A "$1" | tr '\n' ' ')"
  [ ! -e "$shortcut" ] || fail "the shortcut is left"
  wait_until test -z "$(value DisplayName)" || fail "the uninstall entry is left"
}
uninstall "$folder"

# Into a folder of the user's choice; an upgrade goes there too, not to the default.
chosen_windows='C:\Tools\Tarvelo' # /D= takes no quotes, so no spaces here
run "$installer" /S "/D=$chosen_windows" || fail "the install into a chosen folder failed"
chosen=$(unix_path "$chosen_windows")
cmp -s "$chosen/tarvelo.exe" "$program" || fail "not installed into the chosen folder"
printf 'older' >"$chosen/tarvelo.exe"
run "$installer" /S || fail "the upgrade failed"
cmp -s "$chosen/tarvelo.exe" "$program" || fail "the upgrade did not replace the program in the chosen folder"
[ ! -e "$folder" ] || fail "the upgrade went to the default folder"

# While the program runs, an upgrade and an uninstall change nothing and say they failed;
# once it is closed, the upgrade goes ahead.
rm "$chosen/readme.txt"
"$wine" "$chosen/tarvelo.exe" >/dev/null 2>&1 &
running=$!
# Started once Windows refuses to write to it, which is what the installer checks.
started() { ! run cscript //nologo "$(windows_path "$here/writable.js")" "$(windows_path "$chosen/tarvelo.exe")"; }
wait_until started || fail "the program did not start"
if run "$installer" /S; then fail "the upgrade over the running program said it succeeded"; fi
[ ! -e "$chosen/readme.txt" ] || fail "the upgrade went ahead while the program ran"
# In place (_?=), so that the uninstaller's end and status are known.
if run "$chosen/Uninstall.exe" /S "_?=$chosen_windows"; then
  fail "the uninstall of the running program said it succeeded"
fi
for file in tarvelo.exe LICENSE.txt; do
  [ -f "$chosen/$file" ] || fail "the uninstall removed $file while the program ran"
done
[ -f "$shortcut" ] && [ -n "$(value DisplayName)" ] || fail "the uninstall went ahead while the program ran"
cmp -s "$chosen/tarvelo.exe" "$program" || fail "the running program was changed"
run taskkill /im tarvelo.exe || fail "the program could not be asked to close"
wait "$running" || fail "the program ended with status $?"
run "$installer" /S || fail "the upgrade after closing the program failed"
[ -f "$chosen/readme.txt" ] || fail "the upgrade after closing the program did not install"

uninstall "$chosen"
echo "installed, checked and uninstalled; upgraded into a chosen folder; a running program kept"
