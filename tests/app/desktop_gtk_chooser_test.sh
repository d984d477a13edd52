#!/usr/bin/env bash
# The desktop's own chooser: orv under Xvfb with Qt's GTK platform theme, as on GNOME. The
# build button opens GTK's file chooser; the path of an album file goes into its location
# (Ctrl+L, the path, Return) and the album is built. The chooser then opens once more, on
# that file, is shot over the window and cancelled, which leaves the album as it was.
#
#   desktop_gtk_chooser_test.sh BUILD/bin/orv SCREENSHOT.png
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/desktop_session.sh"
orv=$1
screenshot=$2

album="$work/私のアルバム"
makeAlbum "$album"
startX
# GTK keeps the chooser's settings in memory, away from the user's and from any session bus.
startOrv "$orv" QT_QPA_PLATFORMTHEME=gtk3 GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

# gtkChooser: orv's window on show that GTK marks as its file chooser.
gtkChooser() {
  local w
  for w in $(xdotool search --all --pid "$orvPid" --onlyvisible --class '.'); do
    if [[ $(xprop -id "$w" WM_WINDOW_ROLE) == *'"GtkFileChooserDialog"' ]]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}
noGtkChooser() { ! gtkChooser; }
openChooser() {
  clickBuild
  waitFor 20 gtkChooser || fail "GTK's file chooser did not open (qt6-gtk-platformtheme missing?)"
  xdotool windowfocus --sync "$(gtkChooser)"
}

# The track whose name keeps its capitals: the chooser can show it again next time.
chosen="$album/03_Finale.MP3"
openChooser
xdotool key --clearmodifiers ctrl+l
paste "$chosen" ctrl+a ctrl+v
xdotool key Return
waitFor 60 test -s "$album/disk.html" || fail "no disk.html was written"
waitFor 20 statusShown || fail "the status line stayed empty"
checkBuiltAlbum "$album"

# Once more: the chooser opens on the last choice, its row marked in GTK's own blue, which
# it can only be if "*.mp3" lets "*.MP3" through.
before=$(ls -l --full-time "$album")
openChooser
chooser=$(gtkChooser)
rowMarked() {
  import -window "$chooser" "$work/chooser.png" &&
    (($(/usr/bin/convert "$work/chooser.png" -fill black +opaque '#3584E4' -fill white \
      -opaque '#3584E4' -format '%[fx:round(mean*w*h)]' info:) > 5000))
}
waitFor 20 rowMarked || fail "the chooser did not open on $chosen"
# Without a window manager the chooser fills the screen from its corner; set it down over
# the window as a desktop would, and take the picture.
xdotool windowsize "$chooser" 720 480 windowmove "$chooser" 280 250
waitFor 20 rowMarked || fail "the chooser lost its row"
import -window root "$screenshot"
xdotool key Escape
waitFor 20 noGtkChooser || fail "Escape did not close the chooser"
kill -0 "$orvPid" || fail "orv ended after the cancel"
[[ $(ls -l --full-time "$album") == "$before" ]] || fail "the cancel changed the album folder"
echo "built the album through GTK's chooser; screenshot: $screenshot"
