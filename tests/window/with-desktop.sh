#!/bin/sh
# usage: with-desktop.sh gnome|kde|sway COMMAND...   (inside a private D-Bus session)
# Runs COMMAND beside a headless compositor of a real desktop on a 1024x768 screen, with
# XWayland as its session has it: gnome-shell, kwin_wayland or sway. COMMAND gets
# WAYLAND_DISPLAY, DISPLAY (and XAUTHORITY where the X server asks for it), SWAYSOCK for
# sway, TARVELO_DESKTOP_LOG (the compositor's output). Exits with COMMAND's status; a
# desktop that is not installed fails, and 77 (skipped) says this machine cannot run it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
desktop=$1
shift
case "$desktop" in
  gnome) program=gnome-shell package="gnome-shell and xwayland" ;;
  kde) program=kwin_wayland package="kwin-wayland, kwin-style-breeze and xwayland" ;;
  sway) program=sway package="sway and xwayland" ;;
  *) echo "with-desktop: unknown desktop $desktop" >&2; exit 2 ;;
esac
for needed in "$program" Xwayland; do
  if ! command -v "$needed" >/dev/null; then
    echo "with-desktop: $needed is not installed (Debian packages $package; script/bootstrap test installs them)" >&2
    exit 1
  fi
done
if [ "$desktop" = sway ] && [ "$(id -u)" -eq 0 ] && ! id nobody >/dev/null 2>&1; then
  echo "with-desktop: skipped, sway refuses to run as root and this machine has no user nobody to run it as"
  exit 77
fi

work=$(mktemp -d /tmp/tarvelo-desktop.XXXXXX)
chmod 711 "$work"  # sway's own user reaches its folder inside
mkdir -m 700 "$work/run"
log="$work/compositor.log"
pids=
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $pids; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# KWin and sway name their X display only to the programs they start: this one passes it on.
cp "$here/tell-x11.py" "$work/tell-x11.py"
chmod 755 "$work/tell-x11.py"
socket=tarvelo-desktop
runtime=$XDG_RUNTIME_DIR  # COMMAND keeps its own, and reaches the compositor by full paths
export XDG_RUNTIME_DIR="$work/run"

case "$desktop" in
  gnome)
    # The shell looks for a system bus as well; a private one answers it.
    dbus-daemon --session --nofork --address="unix:path=$work/system-bus" >/dev/null 2>&1 &
    pids="$pids $!"
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system-bus"
    # The test extension in the form this shell loads: modules from GNOME Shell 45 on.
    major=$(gnome-shell --version | sed 's/[^0-9]*\([0-9]*\).*/\1/')
    form=45
    [ "$major" -ge 45 ] || form=43
    extension="$work/data/gnome-shell/extensions/tarvelo-tests@tarvelo.org"
    mkdir -p "$extension"
    cp -r "$here/gnome-shell/modes" "$work/data/gnome-shell/"
    cp "$here/gnome-shell/extension-$form.js" "$extension/extension.js"
    printf '{"uuid": "tarvelo-tests@tarvelo.org", "name": "Tarvelo tests", "description": "For the tests", "shell-version": ["%s"]}\n' \
      "$major" >"$extension/metadata.json"
    XDG_DATA_DIRS="$work/data:/usr/local/share:/usr/share" gnome-shell --headless --wayland \
      --virtual-monitor 1024x768 --wayland-display "$socket" --sm-disable \
      --mode=tarvelo-tests >"$log" 2>&1 &
    pids="$pids $!"
    ;;
  kde)
    # As root, kwin_wayland's file capability makes the loader refuse it: a copy has none.
    kwin=$(command -v kwin_wayland)
    if [ "$(id -u)" -eq 0 ]; then cp "$kwin" "$work/kwin_wayland"; kwin="$work/kwin_wayland"; fi
    KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
      "$kwin" --virtual --width 1024 --height 768 --socket "$socket" --no-lockscreen \
      --no-global-shortcuts --xwayland "/usr/bin/python3 $work/tell-x11.py $work/run/x11" >"$log" 2>&1 &
    pids="$pids $!"
    ;;
  sway)
    # XWayland as sway's default has it (started at the first X client).
    as= user=
    if [ "$(id -u)" -eq 0 ]; then  # sway refuses to run as root
      chown nobody "$work/run"
      as="setpriv --reuid=nobody --regid=nogroup --clear-groups" user=root
      # Another user's XWayland takes the X sockets' folder only as root made it.
      [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
    fi
    printf 'output HEADLESS-1 resolution 1024x768\nexec /usr/bin/python3 %s %s %s\n' \
      "$work/tell-x11.py" "$work/run/x11" "$user" >"$work/sway.conf"
    chmod 644 "$work/sway.conf"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
      $as sway -c "$work/sway.conf" >"$log" 2>&1 &
    pids="$pids $!"
    ;;
esac

# sway names its socket itself.
[ "$desktop" != sway ] || socket=wayland-1
for _ in $(seq 200); do [ -S "$work/run/$socket" ] && break; sleep 0.1; done
[ -S "$work/run/$socket" ] || { cat "$log"; exit 1; }
export WAYLAND_DISPLAY="$work/run/$socket" TARVELO_DESKTOP_LOG="$log" XDG_SESSION_TYPE=wayland
case "$desktop" in
  gnome)
    for _ in $(seq 200); do grep -q "Using public X11 display" "$log" && break; sleep 0.1; done
    display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$log")
    [ -n "$display" ] || { cat "$log"; exit 1; }
    export DISPLAY="$display" XAUTHORITY="$(ls "$work"/run/.mutter-Xwaylandauth.* | head -n 1)"
    export XDG_CURRENT_DESKTOP=GNOME
    ;;
  kde) export XDG_CURRENT_DESKTOP=KDE ;;
  sway)
    for _ in $(seq 100); do ls "$work"/run/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.1; done
    export SWAYSOCK="$(ls "$work"/run/sway-ipc.*.sock)" XDG_CURRENT_DESKTOP=sway
    ;;
esac

if [ "$desktop" != gnome ]; then
  for _ in $(seq 200); do [ -s "$work/run/x11" ] && break; sleep 0.1; done
  [ -s "$work/run/x11" ] || { cat "$log"; exit 1; }
  DISPLAY=$(sed -n 1p "$work/run/x11")
  XAUTHORITY=$(sed -n 2p "$work/run/x11")
  [ -n "$DISPLAY" ] || { echo "with-desktop: $desktop started no XWayland" >&2; cat "$log"; exit 1; }
  export DISPLAY
  if [ -n "$XAUTHORITY" ]; then export XAUTHORITY; else unset XAUTHORITY; fi
fi

status=0
XDG_RUNTIME_DIR=$runtime "$@" || status=$?
exit "$status"
