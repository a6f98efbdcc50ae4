#!/usr/bin/env bash
# Checks a built tarvelo.exe: at most MAX_BYTES long when given, and needing no DLL beyond
# Windows' own. usage: exe_check.sh PROGRAM OBJDUMP [MAX_BYTES]
set -euo pipefail
program=$1 objdump=$2 max=${3:-}

size=$(wc -c <"$program")
dlls=$("$objdump" -p "$program" | sed -n 's/^\tDLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
echo "tarvelo.exe: $size bytes, imports $dlls"
if [ -n "$max" ] && [ "$size" -gt "$max" ]; then
  echo "FAIL: tarvelo.exe is over $max bytes" >&2
  exit 1
fi
for dll in $dlls; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll | advapi32.dll | shell32.dll) ;;
    *) echo "FAIL: tarvelo.exe needs $dll" >&2 && exit 1 ;;
  esac
done
