# What the desktop tests share, sourced by each: a work folder removed at the end together
# with every process the test started, a private X server (Xvfb), the album they build,
# orv started on it and its file dialog driven, and the checks of a built album.
#
#   source desktop_session.sh
#   makeAlbum "$work/album"; startX; startOrv path/to/orv; clickBuild;
#   chooseInQtDialog "$work/album/01 Opening.mp3"; …

# Japanese window titles, tags and file names: xdotool's patterns and lame's tag texts
# follow the locale, which a bare machine leaves at plain C.
export LC_ALL=C.UTF-8
# Qt's own dialogs unless a test names a platform theme: nothing of the desktop the tests
# are started from (its theme, by name or by the desktop's) brings in another chooser.
export QT_QPA_PLATFORMTHEME=
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID

work=$(mktemp -d)
pids=()
cleanup() {
  local i
  # The last started ends first: orv before its X server.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
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

# makeAlbum FOLDER: two seconds of silence per track, names with spaces and an extension in
# capitals, tags in Japanese.
makeAlbum() {
  mkdir -p "$1"
  local name title
  while IFS='|' read -r name title; do
    head -c 176400 /dev/zero |
      lame --quiet -r -s 44.1 --bitwidth 16 --signed -m m --id3v2-only --id3v2-utf16 \
        --tt "$title" --ta "テスト歌手" --tl "夏のアルバム" - "$1/$name"
  done <<'EOF'
01 Opening.mp3|はじまりの歌
02　Second song.mp3|二番目の歌
03_Finale.MP3|おわり
EOF
}

# checkBuiltAlbum FOLDER: the tracks renamed, the cover beside them, the page with the tags.
checkBuiltAlbum() {
  local f page
  for f in 01_Opening.mp3 02_Second_song.mp3 03_Finale.MP3 jacket.jpg; do
    [ -f "$1/$f" ] || fail "$f is missing from the album folder"
  done
  # Read whole first: grep -q would end at the line, and iconv's last writes would then
  # fail the pipeline with SIGPIPE.
  page=$(iconv -f CP932 -t UTF-8 "$1/disk.html")
  [[ $page == *'bg_name[1] = "二番目の歌";'* ]] || fail "the page does not carry the second title"
}

# startX: Xvfb on a free display, which DISPLAY then names.
startX() {
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$work/display" 2>/dev/null &
  pids+=($!)
  waitFor 20 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$work/display")"
}

# startOrv ORV [NAME=VALUE…]: starts ORV (with these variables) on a home and runtime
# folder of its own and waits for its window: orvPid and window name them.
startOrv() {
  mkdir -m 700 "$work/run" "$work/home"
  env XDG_RUNTIME_DIR="$work/run" HOME="$work/home" "${@:2}" "$1" &
  orvPid=$!
  pids+=("$orvPid")
  waitFor 20 xdotool search --all --pid "$orvPid" --name 'Sonalith AlbumVersion' ||
    fail "the main window did not appear"
  window=$(xdotool search --all --pid "$orvPid" --name 'Sonalith AlbumVersion' | head -n 1)
}

# Without a window manager the window sits at 0,0: the build button is at 500,116,
# 117 x 69, the status line at 12,384, 605 x 21.
clickBuild() { xdotool mousemove --window "$window" 558 150 click 1; }
# chooseInQtDialog FILE: chooses FILE in Qt's own file dialog, which the build button opens:
# its path pasted (typing garbles Japanese on a busy machine), then Return.
chooseInQtDialog() {
  # Qt's dialog has a title; a desktop's chooser would show none here.
  waitFor 20 qtDialogShown || fail "Qt's file dialog did not open"
  local dialog
  dialog=$(xdotool search --all --pid "$orvPid" --onlyvisible --name '.' | grep -v -x "$window" | head -n 1)
  xdotool windowfocus --sync "$dialog"
  sleep 1  # the dialog's own folder listing settles before the path goes in
  paste "$1" ctrl+a ctrl+v
  xdotool key Return
}
qtDialogShown() { [ "$(xdotool search --all --pid "$orvPid" --onlyvisible --name '.' | wc -l)" -ge 2 ]; }
# statusShown: the status line holds text (its letters bring many shades of grey).
statusShown() {
  import -window "$window" "$work/window.png" &&
    (($(/usr/bin/convert "$work/window.png" -crop 597x15+16+387 -format %k info:) > 8))
}

# paste TEXT KEYS…: puts TEXT on the clipboard and presses KEYS, which paste it; returns
# once the focused window has taken the text (GTK takes it after the keys, not with them),
# so that keys pressed next come after it. Qt and GTK each ask for the text once.
paste() {
  local text=$1
  shift
  printf '%s' "$text" | xclip -verbose -loops 1 -selection clipboard >"$work/xclip.log" 2>&1 &
  local clip=$!
  pids+=("$clip")
  # xclip says it waits once the clipboard is its own.
  waitFor 10 grep -q 'Waiting for' "$work/xclip.log" || fail "xclip did not take the clipboard"
  xdotool key --clearmodifiers "$@"
  waitFor 10 ended "$clip" || fail "the text was not pasted"
}
ended() { ! kill -0 "$1"; }
