#!/usr/bin/python3
"""Orv's main window as a screen reader gets it over AT-SPI (Debian's python3-pyatspi),
checked item by item. The accessibility bus must be up and orv on it.

    screen_reader.py window opened|built
        prints the window as read (each item's role, name, the caption that labels it
        and whether it takes the focus; the track list's headings and rows) and checks
        it against what a reader should get as the window opens, or once the test album
        (desktop_session.sh's makeAlbum) is built; ends with 1 on a difference.
    screen_reader.py announcement TEXT
        prints "listening" once it listens, then every new name of a status bar it
        hears; ends with 0 once it hears TEXT, with 1 if it does not within a minute.
"""

import difflib
import sys
import time

import pyatspi
from gi.repository import GLib

APPLICATION = "Orv"
TITLE = "Sonalith AlbumVersion"

# The window's items in the order a reader meets them: role, name, the caption that
# labels it, whether it takes the keyboard focus. {album}, {artist} and {status} stand
# for what the window shows; the track list's rows follow its item.
WINDOW = [
    ("frame", TITLE, None, False),
    ("push button", "フォルダー選択＆ html 作成", None, True),
    ("push button", "終了", None, True),
    ("table", "曲の一覧", None, True),
    ("label", "アルバム名", None, False),
    ("label", "アーティスト名", None, False),
    ("label", "{album}", "アルバム名", False),
    ("label", "{artist}", "アーティスト名", False),
    ("label", "ソナリス（アルバムバージョン）", None, False),
    ("status bar", "{status}", None, False),
]
HEADINGS = ["曲名", "時間"]  # the shown columns; a row is headed by its number

SHOWN = {
    "opened": {"album": "", "artist": "", "status": "", "rows": [["1", "", ""]]},
    "built": {
        "album": "夏のアルバム",
        "artist": "テスト歌手",
        "status": "htmlを作成しました",
        "rows": [
            ["1", "はじまりの歌", "0:00:02"],
            ["2", "二番目の歌", "0:00:02"],
            ["3", "おわり", "0:00:02"],
        ],
    },
}


def item_line(role, name, caption, focusable):
    line = f"{role} '{name}'"
    if caption is not None:
        line += f" labelled by '{caption}'"
    return line + (" focusable" if focusable else "")


def table_lines(headings, rows):
    return ["  headings: " + " | ".join(headings)] + ["  row: " + " | ".join(r) for r in rows]


def expected_lines(moment):
    shown = SHOWN[moment]
    lines = []
    for role, name, caption, focusable in WINDOW:
        lines.append(item_line(role, name.format(**shown), caption, focusable))
        if role == "table":
            lines += table_lines(HEADINGS, shown["rows"])
    return lines


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


def caption_of(accessible):
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def read_lines(accessible):
    """The item and what lies in it, as a reader meets them; a table by its cells."""
    focusable = accessible.getState().contains(pyatspi.STATE_FOCUSABLE)
    lines = [item_line(accessible.getRoleName(), accessible.name, caption_of(accessible), focusable)]
    if accessible.getRole() == pyatspi.ROLE_TABLE:
        table = accessible.queryTable()
        columns = range(table.nColumns)
        headings = [table.getColumnHeader(c).name for c in columns]
        rows = [
            [table.getRowHeader(r).name] + [table.getAccessibleAt(r, c).name for c in columns]
            for r in range(table.nRows)
        ]
        return lines + table_lines(headings, rows)
    for child in accessible:
        lines += read_lines(child)
    return lines


def check_window(moment):
    read = read_lines(window_frame())
    print("\n".join(read))
    expected = expected_lines(moment)
    if read != expected:
        diff = difflib.unified_diff(expected, read, "expected", "read", lineterm="")
        sys.exit("the window reads otherwise than expected:\n" + "\n".join(diff))


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


def main():
    command, argument = sys.argv[1:3]
    if command == "window":
        check_window(argument)
    else:
        wait_for_announcement(argument)


if __name__ == "__main__":
    main()
