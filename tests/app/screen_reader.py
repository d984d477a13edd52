#!/usr/bin/python3
"""Orv's main window as a screen reader gets it over AT-SPI (Debian's python3-pyatspi).
The accessibility bus must be up and orv on it.

    screen_reader.py window opened|built
        prints the window as read and checks it against WINDOW, as the window opens or
        once the test album (desktop_session.sh's makeAlbum) is built; ends with 1 on a
        difference.
    screen_reader.py announcement TEXT
        prints "listening" once it listens, then every new name of a status bar that it
        hears; ends with 0 once it hears TEXT, with 1 if it does not within a minute.
"""

import difflib
import sys
import time

import pyatspi
from gi.repository import GLib

APPLICATION = "Orv"
TITLE = "Sonalith AlbumVersion"

# The window as a reader should get it: each item in the order a reader meets it (role,
# name, the caption that labels it, whether it takes the keyboard focus), the track list
# by its column headings and its rows, each headed by the track's number. The fields
# stand for what the window shows.
WINDOW = """\
frame 'Sonalith AlbumVersion'
push button 'フォルダー選択＆ html 作成' focusable
push button '終了' focusable
table '曲の一覧' focusable
  columns: '曲名' '時間'
{rows}
label 'アルバム名'
label 'アーティスト名'
label '{album}' labelled by 'アルバム名'
label '{artist}' labelled by 'アーティスト名'
label 'ソナリス（アルバムバージョン）'
status bar '{status}'"""
SHOWN = {
    "opened": {"rows": "  row 1: '' ''", "album": "", "artist": "", "status": ""},
    "built": {
        "rows": "  row 1: 'はじまりの歌' '0:00:02'\n"
        "  row 2: '二番目の歌' '0:00:02'\n"
        "  row 3: 'おわり' '0:00:02'",
        "album": "夏のアルバム",
        "artist": "テスト歌手",
        "status": "htmlを作成しました",
    },
}


def window_frame():
    """The application's top level named by the window's title, once it is on the bus."""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == APPLICATION:
                for top in application:
                    if top.name == TITLE:
                        return top
        time.sleep(0.2)
    sys.exit(f"no window '{TITLE}' of the application '{APPLICATION}' on the bus")


def quoted(names):
    return " ".join(f"'{name}'" for name in names)


def read(item):
    """The item and what lies in it, as a reader meets them: lines as in WINDOW."""
    line = f"{item.getRoleName()} '{item.name}'"
    for relation in item.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            line += f" labelled by '{relation.getTarget(0).name}'"
    if item.getState().contains(pyatspi.STATE_FOCUSABLE):
        line += " focusable"
    if item.getRole() != pyatspi.ROLE_TABLE:
        return [line] + [child_line for child in item for child_line in read(child)]
    table = item.queryTable()
    columns = range(table.nColumns)
    lines = [line, "  columns: " + quoted(table.getColumnHeader(c).name for c in columns)]
    for r in range(table.nRows):
        cells = quoted(table.getAccessibleAt(r, c).name for c in columns)
        lines.append(f"  row {table.getRowHeader(r).name}: {cells}")
    return lines


def check_window(moment):
    lines = read(window_frame())
    print("\n".join(lines))
    expected = WINDOW.format(**SHOWN[moment]).split("\n")
    if lines != expected:
        diff = difflib.unified_diff(expected, lines, "expected", "read", lineterm="")
        sys.exit("the window reads otherwise:\n" + "\n".join(diff))


def wait_for_announcement(text):
    heard = []

    def on_name_change(event):
        source = event.source
        try:
            role, application = source.getRole(), source.getApplication().name
        except GLib.GError:  # gone before it could be asked, as a closed dialog's items
            return
        if role == pyatspi.ROLE_STATUS_BAR and application == APPLICATION:
            heard.append(source.name)
            print(f"heard '{source.name}'", flush=True)
            if source.name == text:
                pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_name_change, "object:property-change:accessible-name")
    GLib.timeout_add_seconds(60, pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()
    if text not in heard:
        sys.exit(f"no status bar was announced as '{text}'")


if __name__ == "__main__":
    command, argument = sys.argv[1:3]
    if command == "window":
        check_window(argument)
    else:
        wait_for_announcement(argument)
