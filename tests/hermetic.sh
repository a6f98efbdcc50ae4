#!/bin/sh
# usage: hermetic.sh [--x11] [--wayland] [--dbus] [--desktop NAME] [NAME=VALUE]... COMMAND [ARG]...
# Runs a test in an environment of its own, so that it gets nothing from whoever runs it:
# only PATH is kept; HOME, the XDG folders and a private runtime folder are new and empty;
# the locale is C.UTF-8; no display, session bus, Qt, GTK or KDE setting is inherited.
# --x11 gives it an Xvfb of its own, --wayland a weston on that Xvfb, --dbus a D-Bus session
# of its own, --desktop a headless compositor of a real desktop (gnome, kde or sway, see
# window/with-desktop.sh) in a D-Bus session of its own. NAME=VALUE are the test's own
# settings, applied last.
# Exits with COMMAND's status.
set -eu
here=$(dirname "$0")
x11= wayland= dbus= desktop=
while :; do
  case "${1-}" in
    --x11) x11=1 ;;
    --wayland) x11=1 wayland=1 ;;
    --dbus) dbus=1 ;;
    --desktop) dbus=1 desktop=$2; shift ;;
    *) break ;;
  esac
  shift
done

work=$(mktemp -d)
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM
mkdir "$work/home" "$work/config" "$work/data" "$work/cache" "$work/state" "$work/tmp"
mkdir -m 700 "$work/run"

set -- ${wayland:+sh "$here/window/with-weston.sh"} \
  ${dbus:+dbus-run-session --} ${desktop:+sh "$here/window/with-desktop.sh" "$desktop"} env "$@"
set -- ${x11:+sh "$here/window/with-xvfb.sh"} "$@"

status=0
env -i PATH="$PATH" LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=UTC PYTHONDONTWRITEBYTECODE=1 \
  HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" \
  XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" XDG_STATE_HOME="$work/state" \
  "$@" || status=$?
exit "$status"
