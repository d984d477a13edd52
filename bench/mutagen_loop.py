#!/usr/bin/python3
"""The reference for Orv's tag reading: mutagen (Debian's python3-mutagen) reads the
artist, title, album title and play time of every MP3 file of FOLDER, in name order.
Prints the seconds the listing and the loop took, without Python's start-up.

    /usr/bin/python3 bench/mutagen_loop.py FOLDER
"""

import os
import sys
import time

from mutagen.mp3 import MP3


def main():
    folder = sys.argv[1]
    start = time.perf_counter()
    names = sorted(n for n in os.listdir(folder) if n.lower().endswith(".mp3"))
    for name in names:
        audio = MP3(os.path.join(folder, name))
        tags = audio.tags or {}
        texts = [str(tags[key]) if key in tags else "" for key in ("TPE1", "TIT2", "TALB")]
        texts.append(audio.info.length)
    print(f"{time.perf_counter() - start:.6f}")


if __name__ == "__main__":
    main()
