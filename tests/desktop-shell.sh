#!/bin/sh
# usage: tests/desktop-shell.sh COMMAND...
# Runs COMMAND as if from a desktop session whose settings must not reach the tests: a
# running session bus, a dark KDE theme with a 14-point font, GTK's dark theme, Qt scaled
# by 1.5 and asked for Wayland, and DISPLAY and WAYLAND_DISPLAY naming sockets that only
# note who connects. Fails when COMMAND fails or when anything reached one of them.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
  kill ${listener:+"$listener"} ${bus:+"$bus"} ${monitor:+"$monitor"} 2>/dev/null || true
  rm -f ${lock:+"$lock"} ${socket:+"$socket"}
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display number nobody holds; its lock keeps X servers started meanwhile off it.
mkdir -p /tmp/.X11-unix
for n in $(seq 70 99); do
  lock=/tmp/.X$n-lock
  if (set -C; echo "     $$" >"$lock") 2>/dev/null; then
    [ ! -e "/tmp/.X11-unix/X$n" ] && break
    rm -f "$lock"
  fi
  lock=
done
[ -n "$lock" ] || { echo "desktop-shell: no free display number" >&2; exit 1; }
socket=/tmp/.X11-unix/X$n
mkdir -m 700 "$work/run"

# Listens where an X client of :n and a Wayland client of the session would connect.
python3 - "$socket" "$work/run/wayland-0" "$work/reached" <<'EOF' &
import selectors, socket, sys
x11, wayland, log = sys.argv[1:4]
selector = selectors.DefaultSelector()
for name, address in (("DISPLAY", x11), ("DISPLAY", "\0" + x11), ("WAYLAND_DISPLAY", wayland)):
    server = socket.socket(socket.AF_UNIX)
    server.bind(address)
    server.listen()
    selector.register(server, selectors.EVENT_READ, name)
while True:
    for key, _ in selector.select():
        connection, _ = key.fileobj.accept()
        connection.close()
        with open(log, "a") as out:
            print(key.data, file=out)
EOF
listener=$!

dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
bus=$(cat "$work/bus.pid")
address=$(cat "$work/bus")
# Every client that connects to the bus gets a name of its own, announced in this signal;
# the monitor's own comes before it listens.
DBUS_SESSION_BUS_ADDRESS=$address dbus-monitor --session \
  "type='signal',member='NameOwnerChanged',arg1=''" >"$work/monitor" 2>&1 &
monitor=$!

ready() { [ -S "$work/run/wayland-0" ] && grep -q 'member=NameLost' "$work/monitor"; }
for _ in $(seq 100); do ready && break; sleep 0.1; done
ready || { echo "desktop-shell: the listener or the bus monitor did not start" >&2; exit 1; }

mkdir -p "$work/config/gtk-3.0"
cp "$here/window/breeze-dark/kdeglobals" "$work/config/kdeglobals"
printf '[General]\nfont=Noto Sans,14,-1,5,50,0,0,0,0,0\nfixed=Hack,14,-1,5,50,0,0,0,0,0\n' \
  >>"$work/config/kdeglobals"
printf '[Settings]\ngtk-application-prefer-dark-theme=1\ngtk-font-name=Cantarell 14\n' \
  >"$work/config/gtk-3.0/settings.ini"

status=0
DISPLAY=:$n WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR="$work/run" \
  DBUS_SESSION_BUS_ADDRESS=$address XDG_CONFIG_HOME="$work/config" \
  XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5 \
  QT_QPA_PLATFORMTHEME=kde QT_QPA_PLATFORM=wayland QT_SCALE_FACTOR=1.5 \
  QT_ACCESSIBILITY=1 GTK_THEME=Adwaita:dark GDK_SCALE=2 \
  "$@" || status=$?

clients=$(grep -c '^signal.*member=NameOwnerChanged' "$work/monitor" || true)
if [ -s "$work/reached" ] || [ "$clients" -gt 0 ]; then
  echo "desktop-shell: the caller's session was used:" \
    "$(sort "$work/reached" 2>/dev/null | uniq -c | awk '{ printf "%s connection(s) to %s, ", $1, $2 }')${clients} session bus client(s)" >&2
  status=1
fi
exit "$status"
