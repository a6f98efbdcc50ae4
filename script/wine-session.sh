# Sourced by the Windows scripts: a private X server and a fresh Wine prefix, both stopped
# when the calling script exits. usage: start_wine_session [dots-per-inch]
wine_dir=/usr/lib/wine
wine="$wine_dir/wine64"

start_wine_session() {
  local dpi=${1:-96}
  session_dir=$(mktemp -d)
  session_xvfb=
  trap stop_wine_session EXIT

  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$session_dir/display" 2>/dev/null &
  session_xvfb=$!
  for _ in $(seq 50); do [ -s "$session_dir/display" ] && break; sleep 0.1; done
  [ -s "$session_dir/display" ] || { echo "wine-session: Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(cat "$session_dir/display")"

  export WINEPREFIX="$session_dir/prefix" WINEARCH=win64 WINEDEBUG=-all
  # No .NET or browser engine prompts, no menu entries on this machine for installed programs.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LC_ALL=C.UTF-8
  "$wine" wineboot -i >/dev/null 2>&1

  # Wine has none of Windows' Japanese fonts: draw them with IPA Gothic. Windows live on
  # a Wine desktop: without a window manager Wine waits 2 s for every window it hides.
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n' "$dpi"
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in "MS PGothic" "ＭＳ Ｐゴシック" "MS UI Gothic" "Yu Gothic UI" "Meiryo UI"; do
      printf '"%s"="IPAPGothic"\r\n' "$face"
    done
    for face in "MS Gothic" "ＭＳ ゴシック"; do
      printf '"%s"="IPAGothic"\r\n' "$face"
    done
  } | iconv -f UTF-8 -t UTF-16 >"$session_dir/session.reg"
  "$wine" regedit /S "Z:$(echo "$session_dir/session.reg" | tr / '\\')"
  # The density is read when the Wine server starts.
  "$wine_dir/wineserver" -k 2>/dev/null || true
  "$wine_dir/wineserver" -w 2>/dev/null || true
}

stop_wine_session() {
  [ -n "${session_dir:-}" ] || return 0
  # Only this session's prefix: never a Wine server the caller has running.
  WINEPREFIX="$session_dir/prefix" "$wine_dir/wineserver" -k 2>/dev/null || true
  if [ -n "${session_xvfb:-}" ]; then
    kill "$session_xvfb" 2>/dev/null && wait "$session_xvfb" 2>/dev/null || true
  fi
  rm -rf "$session_dir"
  session_dir=
}
