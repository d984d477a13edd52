#!/usr/bin/env bash
# Builds an album as a person would: starts orv under Xvfb with no platform theme, clicks its
# build button with xdotool, pastes the album file's path into Qt's own file dialog, presses
# Return, waits for disk.html and the status line and takes a screenshot of the window with
# the album on show. Given the desktop entry, it also checks that the window carries the
# class the entry names, and an icon.
#
#   desktop_build_test.sh BUILD/bin/orv SCREENSHOT.png [ID.desktop]
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/desktop_session.sh"
orv=$1
screenshot=$2
entry=${3:-}

album="$work/私のアルバム"
makeAlbum "$album"
startX
startOrv "$orv"

if [[ -n $entry ]]; then
  # Desktops match the window to its menu entry by the class, the second WM_CLASS text.
  wmClass=$(xprop -id "$window" WM_CLASS)
  startupClass=$(sed -n 's/^StartupWMClass=//p' "$entry")
  echo "$wmClass; StartupWMClass=$startupClass"
  [[ $wmClass == *", \"$startupClass\"" ]] || fail "the window's class is not $startupClass"
  [[ $(xprop -id "$window" _NET_WM_ICON) == *"Icon (32 x 32)"* ]] || fail "the window has no icon"
fi

clickBuild
chooseInQtDialog "$album/01 Opening.mp3"
waitFor 60 test -s "$album/disk.html" || fail "no disk.html was written"
waitFor 20 statusShown || fail "the status line stayed empty"
cp "$work/window.png" "$screenshot"

checkBuiltAlbum "$album"
kill -0 "$orvPid" || fail "orv ended after the build"
echo "built the album; screenshot: $screenshot"
