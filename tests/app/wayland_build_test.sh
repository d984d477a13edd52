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
source "$(dirname "$(readlink -f "$0")")/desktop_session.sh"
orv=$1
plugins=$2
screenshot=$3
appId=$4

showLogs() {
  local f
  for f in "$work"/*.out "$work"/*.err "$work/weston.log"; do
    [[ -s $f ]] && { echo "--- $(basename "$f")" >&2; cat "$f" >&2; }
  done
  return 0
}
trap 'status=$?; ((status == 0)) || showLogs; cleanup' EXIT
expectLine() {  # expectLine FILE TEXT: FILE holds the line TEXT
  grep -qxF -- "$2" "$1" || fail "$(basename "$1") lacks the line: $2"
}

album="$work/私のアルバム"
makeAlbum "$album"

# The compositor: its own runtime folder, no idle blanking (a blank output takes no
# screenshot), --debug for weston-screenshooter.
export XDG_RUNTIME_DIR=$work/run HOME=$work/home
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
weston --debug --backend=headless-backend.so --socket=orv-test --width=1024 --height=768 \
  --use-pixman --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=($!)
waitFor 20 test -S "$XDG_RUNTIME_DIR/orv-test" || fail "weston did not start"
export WAYLAND_DISPLAY=orv-test
unset DISPLAY QT_QPA_PLATFORM
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
checkBuiltAlbum "$album"

# A second copy is refused with its warning, without a main window; Return ends it.
ORV_DRIVE=answer timeout 60 "$orv" >"$work/second.out" 2>"$work/second.err" ||
  fail "the second copy ended with $?"
expectLine "$work/second.out" 'driver: box "二重起動禁止" "すでにプログラムは動作していています。" warning yes main-window no'
kill -0 "$first" || fail "the first copy did not survive the second"

touch "$work/quit"
timeout 30 tail --pid="$first" -f /dev/null || fail "the first copy did not end after Tab and Space"
status=0
wait "$first" || status=$?
((status == 0)) || fail "the first copy ended with $status"
[[ ! -e $XDG_RUNTIME_DIR/orv.lock ]] || fail "the lock was left behind"
echo "built the album on Wayland; screenshot: $screenshot"
