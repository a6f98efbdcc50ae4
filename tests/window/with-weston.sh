#!/bin/sh
# usage: with-weston.sh COMMAND...   (on an X display: run it under with-xvfb.sh)
# Runs COMMAND as a Wayland client of a private weston drawn on the X display, and stops
# weston afterwards. Exits with COMMAND's status.
set -eu
work=$(mktemp -d)
mkdir -m 700 "$work/run"
cleanup() {
  kill ${weston:+"$weston"} 2>/dev/null || true
  [ -z "${weston:-}" ] || wait "$weston" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

XDG_RUNTIME_DIR="$work/run" weston --backend=x11-backend.so \
  --width=800 --height=600 --socket=tarvelo-test --idle-time=0 >"$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do [ -S "$work/run/tarvelo-test" ] && break; sleep 0.1; done
[ -S "$work/run/tarvelo-test" ] || { cat "$work/weston.log"; exit 1; }

status=0
env -u DISPLAY XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY=tarvelo-test QT_QPA_PLATFORM=wayland \
  "$@" || status=$?
exit "$status"
