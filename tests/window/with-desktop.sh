#!/bin/sh
# usage: with-desktop.sh gnome|kde|sway COMMAND...   (inside a private D-Bus session)
# Runs COMMAND beside a headless compositor of a real desktop on a 1024x768 screen:
# gnome-shell (with XWayland), kwin_wayland or sway. COMMAND gets WAYLAND_DISPLAY, and
# DISPLAY and XAUTHORITY for GNOME's XWayland, SWAYSOCK for sway, TARVELO_DESKTOP_LOG (the
# compositor's output). Exits with COMMAND's status, or 77 (skipped) when the desktop is
# not installed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
desktop=$1
shift
case "$desktop" in
  gnome) program=gnome-shell package=gnome-shell ;;
  kde) program=kwin_wayland package="kwin-wayland and kwin-style-breeze" ;;
  sway) program=sway package=sway ;;
  *) echo "with-desktop: unknown desktop $desktop" >&2; exit 2 ;;
esac
if ! command -v "$program" >/dev/null; then
  echo "with-desktop: skipped, $program is not installed (Debian package $package; script/bootstrap test installs it)"
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
socket=tarvelo-desktop
runtime=$XDG_RUNTIME_DIR  # COMMAND keeps its own, and reaches the compositor by full paths
export XDG_RUNTIME_DIR="$work/run"

case "$desktop" in
  gnome)
    # The shell looks for a system bus as well; a private one answers it.
    dbus-daemon --session --nofork --address="unix:path=$work/system-bus" >/dev/null 2>&1 &
    pids="$pids $!"
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system-bus"
    XDG_DATA_DIRS="$here:/usr/local/share:/usr/share" gnome-shell --headless --wayland \
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
      --no-global-shortcuts >"$log" 2>&1 &
    pids="$pids $!"
    ;;
  sway)
    # XWayland stays off: as another user it would take the X sockets' folder.
    printf 'xwayland disable\noutput HEADLESS-1 resolution 1024x768\n' >"$work/sway.conf"
    chmod 644 "$work/sway.conf"
    as=
    if [ "$(id -u)" -eq 0 ]; then  # sway refuses to run as root
      chown nobody "$work/run"
      as="setpriv --reuid=nobody --regid=nogroup --clear-groups"
    fi
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

status=0
XDG_RUNTIME_DIR=$runtime "$@" || status=$?
exit "$status"
