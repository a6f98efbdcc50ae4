#!/usr/bin/env bash
# Configures the project as a Windows developer would, without a preset or options, with
# the MinGW-w64 toolchain file, builds tarvelo.exe and checks that it needs no DLL beyond
# Windows' own.
# usage: plain_build_test.sh SOURCE_DIR TOOLCHAIN_FILE BUILD_DIR OBJDUMP
set -euo pipefail
source=$1 toolchain=$2 build=$3 objdump=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$build"
cmake -S "$source" -B "$build" --toolchain "$toolchain" >"$build.log" 2>&1 ||
  fail "configure: $(tail -n 5 "$build.log")"
cmake --build "$build" --target tarvelo >>"$build.log" 2>&1 ||
  fail "build: $(tail -n 5 "$build.log")"
program=$build/win32/tarvelo.exe
[ -f "$program" ] || fail "no $program"

"$(dirname "$0")/exe_check.sh" "$program" "$objdump"
rm -rf "$build" "$build.log"
