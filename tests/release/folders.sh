#!/bin/sh
# usage: folders.sh SOURCE_DIR CASE
# script/release given a folder, in a checkout of its own that holds only the script, under
# a stand-in home. A folder that is not the script's own is refused before anything else
# runs, and nothing anywhere changes; the script's own earlier output, or an empty folder,
# is emptied, marked and written into. Stand-in bootstrap, cmake and cpack tell how far
# the script went.
set -eu
src=$1 case=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp" "$tmp.out"' EXIT
repo=$tmp/home/src/tarvelo
mkdir -p "$repo/script" "$repo/packaging" "$repo/build/release" "$repo/build/windows" \
  "$tmp/bin" "$tmp/home/notes" "$tmp/home/empty" "$tmp/home/out"
cp "$src/script/release" "$repo/script/release"
touch "$repo/build/release/CPackConfig.cmake" "$repo/build/windows/CPackConfig.cmake"
printf 'project(tarvelo\n  VERSION 1.0.0\n  LANGUAGES CXX)\n' >"$repo/CMakeLists.txt"
printf 'tarvelo (1.0.0) unstable; urgency=medium\n' >"$repo/packaging/changelog"
for tool in bin/cmake bin/cpack home/src/tarvelo/script/bootstrap; do
  printf '#!/bin/sh\necho "stand-in %s reached" >&2\n' "${tool##*/}" >"$tmp/$tool"
  [ "${tool##*/}" = bootstrap ] || echo "exit 3" >>"$tmp/$tool"
  chmod +x "$tmp/$tool"
done
git -C "$repo" init -q
git -C "$repo" add -A
git -C "$repo" -c user.name=test -c user.email=test@localhost commit -q -m checkout
echo "the user's" >"$tmp/home/notes/todo.txt"
for marked in home/out home/src; do
  echo "made by script/release" >"$tmp/$marked/.tarvelo-release"
done
echo "an earlier release" >"$tmp/home/out/tarvelo_0.9.0_amd64.deb"

# Every entry under the sandbox with its kind, mode, size, time and contents.
snapshot() {
  find "$tmp" -printf '%P %y %m %s %T@\n' | LC_ALL=C sort
  find "$tmp" -type f -exec sha256sum {} + | LC_ALL=C sort
}

# case, the folder refused (- : none), where the script is started, its arguments
while read -r name refused where arguments; do
  [ "$name" = "$case" ] || continue
  before=$(snapshot)
  status=0
  (cd "$tmp/$where" && PATH="$tmp/bin:$PATH" "$repo/script/release" $arguments) \
    >"$tmp.out" 2>&1 || status=$?
  said=$(cat "$tmp.out")
  fail() {
    echo "release.folder.$case: $1; the script said:" >&2
    echo "$said" >&2
    exit 1
  }
  if [ "$refused" != - ]; then
    [ "$status" -eq 2 ] || fail "status $status, not 2"
    case "$said" in
    *reached*) fail "it went on past the folder" ;;
    *"release: $tmp/$refused "*) ;;
    *) fail "no refusal naming $tmp/$refused" ;;
    esac
    [ "$(snapshot)" = "$before" ] || fail "the sandbox changed"
  else
    case "$said" in
    *"stand-in cmake reached"* | *"stand-in cpack reached"*) ;;
    *) fail "the build was not reached" ;;
    esac
    folder=$tmp/home/${arguments##* }
    [ -f "$folder/.tarvelo-release" ] || fail "$folder is not marked"
    [ ! -e "$folder/tarvelo_0.9.0_amd64.deb" ] || fail "the earlier release is left"
  fi
  exit 0
done <<CASES
dot               home/src/tarvelo   home/src/tarvelo  .
checkout          home/src/tarvelo   home              $repo
users_folder      home/notes         home              notes
check_users       home/notes         home              --check notes
marked_parent     home/src           home              src
own_output        -                  home              out
own_check_output  -                  home              --check out
empty             -                  home              empty
CASES
echo "release.folder: no case $case" >&2
exit 1
