#!/usr/bin/env python3
"""Writes the flat-coloured 24-bit bitmaps that the skin tests read back pixel by pixel."""
import os
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "artwork"))

from canvas import write_bmp  # noqa: E402


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    # Background: left half red, right half blue.
    write_bmp(out / "background201.bmp", 20, 10, lambda x, y: (200, 0, 0) if x < 10 else (0, 0, 200))
    # Hover button looks: normal, hover, pressed (the pressed one a little larger).
    write_bmp(out / "normal210.bmp", 60, 24, lambda x, y: (255, 0, 0))
    write_bmp(out / "hover211.bmp", 60, 24, lambda x, y: (0, 160, 0))
    write_bmp(out / "pressed212.bmp", 64, 26, lambda x, y: (0, 0, 255))


if __name__ == "__main__":
    main()
