#!/usr/bin/env bash
# The window as a screen reader gets it, over AT-SPI: orv under Xvfb on the accessibility
# bus, its items read by screen_reader.py as the window opens and once an album is built
# through it (each item's role, name, caption and focus, the track list's cells), and the
# status line's change heard as it happens. It runs on a session bus of its own.
#
#   desktop_screen_reader_test.sh BUILD/bin/orv
set -euo pipefail
[[ -n ${ORV_OWN_SESSION_BUS:-} ]] || exec env ORV_OWN_SESSION_BUS=1 dbus-run-session -- "$0" "$@"
here=$(dirname "$(readlink -f "$0")")
source "$here/desktop_session.sh"
orv=$1
reader() { /usr/bin/python3 "$here/screen_reader.py" "$@"; }
busNameOwned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q 'boolean true'
}

album="$work/私のアルバム"
makeAlbum "$album"
startX
/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids+=($!)
waitFor 20 busNameOwned org.a11y.Bus || fail "the accessibility bus did not start"
# Qt joins the accessibility bus only when a reader runs, or when told to.
startOrv "$orv" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
reader window opened || fail "the window as it opens reads wrong"

reader announcement 'htmlを作成しました' >"$work/heard" &
listener=$!
pids+=("$listener")
waitFor 20 grep -qx listening "$work/heard" || fail "the reader did not listen"
clickBuild
chooseInQtDialog "$album/01 Opening.mp3"
wait "$listener" || fail "the status line's change was not announced; heard: $(cat "$work/heard")"
cat "$work/heard"
reader window built || fail "the window with the album built reads wrong"
checkBuiltAlbum "$album"
echo "the window reads right for a screen reader, as it opens and with the album built"
