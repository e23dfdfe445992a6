#!/usr/bin/env python3
"""Writes the flat-coloured 24-bit bitmaps of the gauge tests (slider channels and thumbs)."""
import os
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "artwork"))

from canvas import write_bmp  # noqa: E402

BLUE = (0, 0, 200)
RED = (200, 0, 0)
GREEN_KEY = (0, 255, 0)
THUMB = (0, 120, 0)
ACTIVE_THUMB = (200, 200, 0)
SMALL_THUMB = (0, 200, 200)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    # Channels 200 x 14: normal blue, active red.
    write_bmp(out / "channel301.bmp", 200, 14, lambda x, y: BLUE)
    write_bmp(out / "active302.bmp", 200, 14, lambda x, y: RED)
    # Thumbs 10 x 14: normal dark green, active yellow.
    write_bmp(out / "thumb303.bmp", 10, 14, lambda x, y: THUMB)
    write_bmp(out / "activethumb304.bmp", 10, 14, lambda x, y: ACTIVE_THUMB)
    # Keyed channels: the key colour at (0, 0) and over the left 20 columns and the top 2 rows.
    keyed = lambda colour: (lambda x, y: GREEN_KEY if x < 20 or y < 2 else colour)
    write_bmp(out / "keyedchannel305.bmp", 200, 14, keyed(BLUE))
    write_bmp(out / "keyedactive306.bmp", 200, 14, keyed(RED))
    # A keyed thumb: key colour in its left and right two columns.
    write_bmp(out / "keyedthumb307.bmp", 10, 14, lambda x, y: GREEN_KEY if x < 2 or x >= 8 else THUMB)
    # A vertical channel 14 x 100.
    write_bmp(out / "tallchannel308.bmp", 14, 100, lambda x, y: BLUE)
    write_bmp(out / "tallactive309.bmp", 14, 100, lambda x, y: RED)
    # A thumb smaller than the others every way: 4 x 6, cyan.
    write_bmp(out / "smallthumb310.bmp", 4, 6, lambda x, y: SMALL_THUMB)


if __name__ == "__main__":
    main()
