#!/bin/sh
# usage: with-weston.sh COMMAND...
# Runs COMMAND as a Wayland client of a private weston, itself drawn on a private Xvfb,
# and stops both afterwards. Exits with COMMAND's status.
set -eu
work=$(mktemp -d)
mkdir -m 700 "$work/run"
cleanup() {
  kill ${weston:+"$weston"} ${xvfb:+"$xvfb"} 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "with-weston: Xvfb did not start"; exit 1; }

DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work/run" weston --backend=x11-backend.so \
  --width=800 --height=600 --socket=tarvelo-test --idle-time=0 >"$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do [ -S "$work/run/tarvelo-test" ] && break; sleep 0.1; done
[ -S "$work/run/tarvelo-test" ] || { cat "$work/weston.log"; exit 1; }

status=0
env -u DISPLAY XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY=tarvelo-test QT_QPA_PLATFORM=wayland \
  "$@" || status=$?
exit "$status"
