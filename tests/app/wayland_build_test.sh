#!/usr/bin/env bash
# Builds an album through the window on Wayland, as a person at the keyboard would: a
# headless weston, orv with no X display (so it goes to the compositor on Qt's Wayland
# platform by itself), and KeyboardDriver.cpp as the keyboard, which presses Space on the
# build button, types the album file's path into the file dialog and presses Return. It
# checks the window (title, icon, app id, the fixed 624 x 416 client area, and a title bar
# of its own with a close box only, not Qt's with its maximise button), the page, the
# second copy's warning, and quitting by Tab and Space; weston-screenshooter takes a
# screenshot of the window with the album on show.
#
#   wayland_build_test.sh BUILD/bin/orv DRIVER_PLUGIN_DIR SCREENSHOT.png APP_ID
set -euo pipefail
# Japanese file names and tags: lame's tag texts follow the locale.
export LC_ALL=C.UTF-8
orv=$1
plugins=$2
screenshot=$3
appId=$4

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*.out "$work"/*.err "$work/weston.log"; do
    [[ -s $f ]] && { echo "--- $(basename "$f")" >&2; cat "$f" >&2; }
  done
  exit 1
}
waitFor() {  # waitFor SECONDS COMMAND…: polls until COMMAND succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}
expectLine() {  # expectLine FILE TEXT: FILE holds the line TEXT
  grep -qxF -- "$2" "$1" || fail "$(basename "$1") lacks the line: $2"
}

album="$work/私のアルバム"
mkdir -p "$album"
encode() {  # encode NAME TITLE
  head -c 176400 /dev/zero |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed -m m --id3v2-only --id3v2-utf16 \
      --tt "$2" --ta "テスト歌手" --tl "夏のアルバム" - "$album/$1"
}
encode "01 Opening.mp3" "はじまりの歌"
encode "02　Second song.mp3" "二番目の歌"

# The compositor: its own runtime folder, no idle blanking (a blank output takes no
# screenshot), --debug for weston-screenshooter.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/home"
weston --debug --backend=headless-backend.so --socket=orv-test --width=1024 --height=768 \
  --use-pixman --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=($!)
waitFor 20 test -S "$XDG_RUNTIME_DIR/orv-test" || fail "weston did not start"
export WAYLAND_DISPLAY=orv-test HOME=$work/home
unset DISPLAY QT_QPA_PLATFORM
# Qt's own file dialog, which the keyboard driver knows, whatever desktop runs the test.
export QT_QPA_PLATFORMTHEME=
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export QT_PLUGIN_PATH=$plugins QT_QPA_GENERIC_PLUGINS=orvdriver
# Qt's Wayland input method asks the seat for its text input, and a seatless compositor
# has none: the first text field would crash Qt. A real desktop always has a seat.
export QT_IM_MODULE=none

ORV_DRIVE=build ORV_DRIVE_FILE="$album/01 Opening.mp3" ORV_DRIVE_QUIT="$work/quit" \
  "$orv" >"$work/first.out" 2>"$work/first.err" &
first=$!
pids+=("$first")
waitFor 60 grep -qx "driver: ready" "$work/first.out" || fail "the album was not built"
expectLine "$work/first.out" "driver: window \"Sonalith AlbumVersion\" platform wayland app-id $appId icon yes client 624x416 fixed yes qt-decoration 0 drawn-frame yes buttons-in-frame 1"
expectLine "$work/first.out" 'driver: status "htmlを作成しました" album "夏のアルバム" rows 3'
sleep 0.5  # the last repaint reaches the compositor
(cd "$work" && timeout 20 weston-screenshooter) || fail "weston-screenshooter failed"
cp "$work"/wayland-screenshot-*.png "$screenshot"

for f in 01_Opening.mp3 02_Second_song.mp3 jacket.jpg; do
  [[ -f $album/$f ]] || fail "$f is missing from the album folder"
done
page=$(iconv -f CP932 -t UTF-8 "$album/disk.html")
[[ $page == *'bg_name[1] = "二番目の歌";'* ]] || fail "the page does not carry the second title"

# A second copy is refused with its warning, without a main window; Return ends it.
ORV_DRIVE=answer timeout 60 "$orv" >"$work/second.out" 2>"$work/second.err" ||
  fail "the second copy ended with $?"
expectLine "$work/second.out" 'driver: box "二重起動禁止" "すでにプログラムは動作していています。" warning yes main-window no'
kill -0 "$first" || fail "the first copy did not survive the second"

touch "$work/quit"
status=0
timeout 30 tail --pid="$first" -f /dev/null || fail "the first copy did not end after Tab and Space"
wait "$first" || status=$?
((status == 0)) || fail "the first copy ended with $status"
[[ ! -e $XDG_RUNTIME_DIR/orv.lock ]] || fail "the lock was left behind"
echo "built the album on Wayland; screenshot: $screenshot"
