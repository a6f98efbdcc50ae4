#!/bin/sh
# usage: with-xvfb.sh COMMAND...
# Runs COMMAND on a private Xvfb and stops it afterwards. The server picks a free display
# and reports it once it accepts clients, so runs side by side never meet or race it; it
# never resets, as it would each time its last client left, refusing whoever came next.
# Exits with COMMAND's status.
set -eu
work=$(mktemp -d)
cleanup() {
  kill ${xvfb:+"$xvfb"} 2>/dev/null || true
  # Gone before the next run starts: a server still closing would remove its socket,
  # which by then may be the new server's.
  [ -z "${xvfb:-}" ] || wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "with-xvfb: Xvfb did not start"; exit 1; }

status=0
DISPLAY=":$(cat "$work/display")" "$@" || status=$?
exit "$status"
