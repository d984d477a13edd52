#!/usr/bin/env bash
# Builds an album as a person would: starts orv under Xvfb, clicks its build button with
# xdotool, pastes the album file's path into the file dialog, presses Return, waits for
# disk.html and takes a screenshot of the window with the album on show. Given the desktop
# entry, it also checks that the window carries the class the entry names, and an icon.
#
#   desktop_build_test.sh BUILD/bin/orv SCREENSHOT.png [ID.desktop]
set -euo pipefail
# Japanese window titles, tags and file names: xdotool's patterns and lame's tag texts
# follow the locale, which a bare machine leaves at plain C.
export LC_ALL=C.UTF-8
orv=$1
screenshot=$2
entry=${3:-}

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

# The album: two seconds of silence per track, names with spaces, tags in Japanese.
album="$work/私のアルバム"
mkdir -p "$album"
encode() {  # encode NAME TITLE
  head -c 176400 /dev/zero |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed -m m --id3v2-only --id3v2-utf16 \
      --tt "$2" --ta "テスト歌手" --tl "夏のアルバム" - "$album/$1"
}
encode "01 Opening.mp3" "はじまりの歌"
encode "02　Second song.mp3" "二番目の歌"
encode "03 Finale.mp3" "おわり"

Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$work/display" 2>/dev/null &
pids+=($!)
waitFor 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

mkdir -m 700 "$work/run" "$work/home"
XDG_RUNTIME_DIR="$work/run" HOME="$work/home" "$orv" &
orvPid=$!
pids+=("$orvPid")
waitFor 20 xdotool search --all --pid "$orvPid" --name 'Sonalith AlbumVersion' ||
  fail "the main window did not appear"
window=$(xdotool search --all --pid "$orvPid" --name 'Sonalith AlbumVersion' | head -n 1)

if [[ -n $entry ]]; then
  # Desktops match the window to its menu entry by the class, the second WM_CLASS text.
  wmClass=$(xprop -id "$window" WM_CLASS)
  startupClass=$(sed -n 's/^StartupWMClass=//p' "$entry")
  echo "$wmClass; StartupWMClass=$startupClass"
  [[ $wmClass == *", \"$startupClass\"" ]] || fail "the window's class is not $startupClass"
  [[ $(xprop -id "$window" _NET_WM_ICON) == *"Icon (32 x 32)"* ]] || fail "the window has no icon"
fi

# Without a window manager the window sits at 0,0: the build button is at 500,116, 117 x 69.
xdotool mousemove --window "$window" 558 150 click 1
dialogShown() { [ "$(xdotool search --all --pid "$orvPid" --onlyvisible --name '.' | wc -l)" -ge 2 ]; }
waitFor 20 dialogShown || fail "the file dialog did not open"
dialog=$(xdotool search --all --pid "$orvPid" --onlyvisible --name '.' | grep -v -x "$window" | head -n 1)
xdotool windowfocus --sync "$dialog"
sleep 1  # the dialog's own folder listing settles before the path goes in

# Typing garbles Japanese on a busy machine; paste the path instead.
printf '%s' "$album/01 Opening.mp3" | xclip -selection clipboard
xdotool key --clearmodifiers ctrl+a ctrl+v
sleep 0.3
xdotool key Return
waitFor 60 test -s "$album/disk.html" || fail "no disk.html was written"
sleep 1  # the status line is set right after the page
import -window "$window" "$screenshot"

for f in 01_Opening.mp3 02_Second_song.mp3 03_Finale.mp3 jacket.jpg; do
  [ -f "$album/$f" ] || fail "$f is missing from the album folder"
done
kill -0 "$orvPid" || fail "orv ended after the build"
# Read whole first: grep -q would end at the line, and iconv's last writes would then fail
# the pipeline with SIGPIPE.
page=$(iconv -f CP932 -t UTF-8 "$album/disk.html")
[[ $page == *'bg_name[1] = "二番目の歌";'* ]] || fail "the page does not carry the second title"
echo "built the album; screenshot: $screenshot"
